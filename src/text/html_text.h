// Text placed into HTML pages and attributes.
#pragma once

#include <string>
#include <string_view>

namespace vt {

// <, >, & and " as entities; everything else as it is.
std::string HtmlEscape(std::string_view text);

}  // namespace vt
