// The stored forecast file as a list of lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vt {

// Lines end at CR LF, a lone LF or a lone CR. A break at the very end adds no empty line, and a
// NUL byte ends the text, whatever follows it.
std::vector<std::string> SplitForecastLines(std::string_view bytes);

}  // namespace vt
