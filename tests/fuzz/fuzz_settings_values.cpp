// Arbitrary bytes as the values a user can put in the settings file: the colour notation, the
// hour list and the whole file as the write check reads it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/profile_text.h"
#include "app/update_times.h"
#include "common/colour.h"
#include "fuzz_check.h"
#include "ports/random.h"

using vt::fuzz::Check;

namespace {

class CountingRandom : public vt::Random {
  public:
    void Reseed() override {}
    int Draw(int range) override { return range > 0 ? (next_++ % range) : 0; }

  private:
    int next_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // A colour that reads, writes back to a text that reads as the same colour.
    if (const auto colour = vt::ColourFromString(bytes)) {
        Check(vt::ColourFromString(vt::ColourToString(*colour)) == colour);
    }

    // Whatever the hour list, the schedule has times in ascending order within the day.
    CountingRandom random;
    const std::string times = vt::BuildUpdateTimes(bytes, random);
    int last = -1;
    for (int minutes : vt::ParseUpdateTimes(times)) {
        Check(minutes >= 0 && minutes < 24 * 60 && minutes >= last);
        last = minutes;
    }
    Check(last >= 0);

    // Reading a file twice gives the same entries, and writing what was read changes nothing.
    const vt::ProfileEntries entries = vt::ParseProfileText(bytes);
    Check(vt::ParseProfileText(bytes) == entries);
    std::vector<vt::ProfileWrite> rewrites;
    for (const auto& [name, value] : entries) {
        const std::size_t cut = name.find('\n');
        rewrites.push_back({name.substr(0, cut), name.substr(cut + 1), value});
    }
    Check(vt::ExpectedAfter(entries, rewrites) == entries);
    return 0;
}
