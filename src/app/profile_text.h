// Reads a settings file's bytes the way the private-profile functions do, so that a write can be
// checked against what the file held before it.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vt {

// "section\nkey" -> value, and "section\n" -> "" for every section (a header, or keys before
// the first header). Names are
// lower-cased (ASCII), names and values trimmed of blanks; the first of two equal names wins.
// Lines without "=" (comments among them) are not entries. One flat map keeps the program
// small: it is the only map in it.
using ProfileEntries = std::map<std::string, std::string>;

std::string ProfileEntryName(std::string_view section, std::string_view key);

struct ProfileWrite {
    std::string section;
    std::string key;
    std::string value;
};

ProfileEntries ParseProfileText(std::string_view bytes);

// What the file must hold after the writes: every entry it held before, the written ones
// replaced or added.
ProfileEntries ExpectedAfter(ProfileEntries before, const std::vector<ProfileWrite>& writes);

}  // namespace vt
