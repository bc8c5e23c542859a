#include "app/settings_encoding.h"

#include <algorithm>

#include "ports/files.h"
#include "text/encoding.h"

namespace vt {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool HasNonAscii(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

std::optional<std::string> Utf8SettingsAsCp1251(std::string_view bytes) {
    const bool marked = bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    if (marked) bytes.remove_prefix(kByteOrderMark.size());
    if (!IsValidUtf8(bytes) || (!marked && !HasNonAscii(bytes))) return std::nullopt;
    return Utf8ToCp1251(bytes);
}

void ConvertUtf8Settings(Files& files, const std::string& path) {
    const std::optional<std::string> bytes = files.ReadAll(path);
    const std::optional<std::string> converted =
        bytes ? Utf8SettingsAsCp1251(*bytes) : std::nullopt;
    // The original first: a file replaced without its copy would lose what 1251 cannot hold.
    if (converted && files.Replace(path + kUtf8OriginalSuffix, *bytes)) {
        files.Replace(path, *converted);
    }
}

}  // namespace vt
