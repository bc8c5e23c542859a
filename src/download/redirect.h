// Where a redirect leads. WinINet follows redirects without a bound and to any scheme, so the
// fetch follows them itself: at most kMaxRedirects a request, to http and https only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vt {

inline constexpr int kMaxRedirects = 10;

// "https://..." in any letter case.
bool IsHttpsAddress(std::string_view address);

// 301, 302, 303, 307 and 308.
bool IsRedirectStatus(int status);

// The absolute address a Location header leads to from the address `from` (absolute, relative
// to the host, to the folder, or without a scheme); nullopt for any scheme but http and https,
// for a missing host, and for spaces or control characters.
std::optional<std::string> RedirectTarget(std::string_view from, std::string_view location);

}  // namespace vt
