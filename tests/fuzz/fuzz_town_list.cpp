// Arbitrary bytes as a downloaded town list: every line becomes one entry, indexes never grow
// beyond what the line held, and the prefix search only returns entries that exist.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "prefs/town_list.h"
#include "text/encoding.h"

using vt::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<vt::TComboList> towns = vt::ParseTownList(bytes);
    std::size_t breaks = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == size || bytes[i + 1] != '\n'))) {
            ++breaks;
        }
    }
    Check(towns.size() <= breaks + 1);
    std::vector<std::string> names;
    for (const vt::TComboList& town : towns) {
        Check(town.TownName.find(';') == std::string::npos);
        Check(town.TownIndex.find(';') == std::string::npos);
        names.push_back(town.TownName);
    }
    const std::string typed = vt::Cp1251ToUtf8(bytes.substr(0, size % 7));
    const int found = vt::FindEntryByPrefix(names, typed);
    Check(found >= -1 && found < static_cast<int>(names.size()));
    const int byName = vt::FindTownByName(towns, typed);
    Check(byName >= -1 && byName < static_cast<int>(towns.size()));
    return 0;
}
