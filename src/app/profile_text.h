// Reads a settings file's bytes the way the private-profile functions do, so that a write can be
// checked against what the file held before it.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vt {

// Section -> key -> value. Names are lower-cased (ASCII), names and values trimmed of blanks;
// the first of two equal names wins. Lines without "=" (comments among them) are not entries.
using ProfileEntries = std::map<std::string, std::map<std::string, std::string>>;

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
