// Towns found by name: the geocoding API's /v1/search, and its results as lines of the town list.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "openmeteo/rejection.h"

namespace vt {

inline constexpr int kSearchResults = 30;
inline constexpr std::size_t kMaxSearchAnswerBytes = 256 * 1024;

// "/v1/search?name=...": the name UTF-8 and percent-encoded, Russian names, 30 results.
std::string SearchRequestPath(std::string_view utf8Name);

// At least two letters (any character but spaces, digits and ASCII punctuation counts as one):
// a shorter text asks for nothing.
bool IsSearchableName(std::string_view utf8Text);

struct FoundPlace {
    std::int64_t id = 0;
    std::string name;  // UTF-8
    std::string region;
    std::string country;
    double latitude = 0;
    double longitude = 0;
};

struct SearchResult {
    std::optional<std::vector<FoundPlace>> places;  // empty: nothing found
    Rejection rejection;
};

// The answer's results; an answer without "results" found nothing. Refused: anything but an
// object, results that are no array or more than 100, a result without a whole positive id below
// 10^8, a name, or coordinates in range.
SearchResult ReadSearchAnswer(std::string_view json);

// The list's lines (code page 1251, CR LF) of the places: the index is the id as 8 digits, the
// text the name, with the region in parentheses where two places share a name.
std::string FoundTownLines(const std::vector<FoundPlace>& places);

}  // namespace vt
