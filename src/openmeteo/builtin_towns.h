// The towns the program knows without asking anyone: the first content of the embedded
// source's town list, and the coordinates of a town chosen before they were stored.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vt {

struct BuiltinTown {
    std::string_view index;  // the station index, five digits
    std::string_view name;   // UTF-8
    std::string_view country;
    double latitude;
    double longitude;
};

std::span<const BuiltinTown> BuiltinTowns();
const BuiltinTown* FindBuiltinTown(std::string_view index);

// A line of the town list: "index;name;x;country;latitude;longitude;" in code page 1251 and
// CR LF; the list's reader takes the first four fields.
std::string TownListLine(std::string_view index, std::string_view name, std::string_view country,
                         double latitude, double longitude);
std::string BuiltinTownListFile();

}  // namespace vt
