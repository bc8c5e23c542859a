// The settings file is code page 1251. One saved as UTF-8 by an editor (with a byte order mark,
// or valid UTF-8 holding non-ASCII text) would make every write fail or the town names garbled;
// start-up rewrites it in code page 1251 and keeps the original beside it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vt {

class Files;

inline constexpr const char* kUtf8OriginalSuffix = ".utf8";

// The bytes in code page 1251 (a character it cannot hold becomes "?"), every line kept;
// nullopt when the bytes are not UTF-8 text.
std::optional<std::string> Utf8SettingsAsCp1251(std::string_view bytes);

// Converts the file at path when it is UTF-8, keeping the original as path + ".utf8". Where
// that cannot be written the file stays as it was, and the start-up writes report it.
void ConvertUtf8Settings(Files& files, const std::string& path);

}  // namespace vt
