#include "download/redirect.h"

#include <algorithm>
#include <cctype>

namespace vt {

namespace {

bool HasUnsafeCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u <= 0x20 || u == 0x7F;
    });
}

// The scheme's length (up to the ':'), 0 when the text does not begin with one.
std::size_t SchemeLength(std::string_view text) {
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0]))) return 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == ':') return i;
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return 0;
    }
    return 0;
}

// The scheme of the text in lower case, empty when it has none.
std::string LowerScheme(std::string_view text) {
    std::string lower(text.substr(0, SchemeLength(text)));
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool IsWebScheme(std::string_view url) {
    const std::string scheme = LowerScheme(url);
    return scheme == "http" || scheme == "https";
}

// "http://host", with the host not empty.
bool HasWebSchemeAndHost(std::string_view url) {
    const std::size_t scheme = SchemeLength(url);
    if (!IsWebScheme(url)) return false;
    if (url.substr(scheme, 3) != "://") return false;
    const std::size_t host = scheme + 3;
    return host < url.size() && url.find_first_of("/?#", host) != host;
}

}  // namespace

bool IsHttpsAddress(std::string_view address) {
    return LowerScheme(address) == "https";
}

bool IsRedirectStatus(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::optional<std::string> RedirectTarget(std::string_view from, std::string_view location) {
    if (location.empty() || HasUnsafeCharacter(location) || !HasWebSchemeAndHost(from)) {
        return std::nullopt;
    }
    const std::size_t schemeEnd = SchemeLength(from);
    const std::size_t authority = schemeEnd + 3;
    const std::size_t pathStart = std::min(from.find_first_of("/?#", authority), from.size());
    std::string target;
    if (SchemeLength(location) != 0) {
        target = location;
    } else if (location.substr(0, 2) == "//") {
        target = std::string(from.substr(0, schemeEnd + 1)) + std::string(location);
    } else if (location[0] == '/') {
        target = std::string(from.substr(0, pathStart)) + std::string(location);
    } else {
        // Relative to the folder of the path, the query left out.
        const std::size_t pathEnd = std::min(from.find_first_of("?#", pathStart), from.size());
        const std::string_view path = from.substr(pathStart, pathEnd - pathStart);
        const std::size_t slash = path.rfind('/');
        const std::string folder =
            slash == std::string_view::npos ? "/" : std::string(path.substr(0, slash + 1));
        target = std::string(from.substr(0, pathStart)) + folder + std::string(location);
    }
    if (!HasWebSchemeAndHost(target)) return std::nullopt;
    return target;
}

}  // namespace vt
