// JSON string literals for the log and /counts.
#pragma once

#include <string>
#include <string_view>

namespace vts {

// A quoted JSON string. Valid UTF-8 passes through; control characters are escaped, and a byte
// that is not part of valid UTF-8 becomes the code point of the same value (\u00XX), so the
// output is always valid JSON whatever a client sent.
std::string JsonString(std::string_view bytes);

}  // namespace vts
