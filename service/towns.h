// The towns the service knows: the published town list and the forecasts come from this table.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vts {

// Rough climate of a town, enough to make the pseudo-weather plausible for the season.
enum class Climate {
    Arctic,
    North,
    Baltic,
    Central,
    South,
    Urals,
    Steppe,
    Siberia,
    Yakutia,
    Pacific,
    Asia
};

struct Town {
    std::string_view index;  // as written in the list: five digits, or four for a leading zero
    std::string_view name;   // UTF-8
    std::string_view country;
    Climate climate;
};

std::span<const Town> AllTowns();

// The index as the program holds it: four digits get their leading zero back.
std::string FiveDigitIndex(const Town& town);

// Looks a town up by its five-digit index; nullptr when unknown.
const Town* FindTown(std::string_view fiveDigitIndex);

// The whole town-list file: "index;name;x;country;" lines in code page 1251, CR LF after each.
std::string TownListFile();

}  // namespace vts
