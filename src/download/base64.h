// Base64 of RFC 4648: standard alphabet, padded, one line (the Basic scheme allows no breaks).
#pragma once

#include <string>
#include <string_view>

namespace vt {

std::string Base64Encode(std::string_view bytes);

}  // namespace vt
