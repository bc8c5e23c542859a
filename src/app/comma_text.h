#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vt {

// Splits a list by the toolkit's comma-text rules: commas and blanks separate entries, a
// double-quoted entry may hold blanks and commas ("" inside it is one quote), and two commas
// in a row give an empty entry.
std::vector<std::string> SplitCommaText(std::string_view text);

// A whole decimal number with an optional sign, or nullopt-like fallback: returns fallback
// when the text is anything else.
int WholeNumberOr(std::string_view text, int fallback);

}  // namespace vt
