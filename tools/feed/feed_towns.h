// The operator's towns file: which towns the feed publishes and where they lie.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vtf {

struct FeedTown {
    std::string index;  // five digits
    std::string name;   // UTF-8; fits code page 1251, no ";"
    std::string country;
    double latitude = 0;
    double longitude = 0;
    int utcOffsetMinutes = 0;
};

struct TownsFile {
    std::vector<FeedTown> towns;
    std::string error;  // "line 7: ...", empty when the file is good
};

// "index;name;country;latitude;longitude;UTC offset in hours" lines in UTF-8; blank lines and
// lines starting with "#" are skipped. One bad line rejects the whole file: a town list with a
// town missing would silently drop it from every desktop.
TownsFile ParseTownsFile(std::string_view text);

}  // namespace vtf
