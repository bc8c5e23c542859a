// Where the program keeps a downloaded file: its folder (with the trailing backslash), the
// file's base name, ".txt".
#pragma once

#include <string>

namespace vt {

inline std::string StoredFilePath(const std::string& folder, const std::string& base) {
    return folder + base + ".txt";
}

// The town page the embedded source writes beside the forecast: the index is digits only.
inline std::string TownPagePath(const std::string& folder, const std::string& townIndex) {
    return folder + townIndex + ".htm";
}

}  // namespace vt
