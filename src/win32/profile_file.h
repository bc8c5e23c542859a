// The settings file through the private-profile functions: code page 1251 on disk.
#pragma once

#include <string>

#include "ports/profile.h"

namespace vt {

class ProfileFile : public Profile {
  public:
    // path: the settings file path as the program names it (UTF-8, separator doubled).
    explicit ProfileFile(const std::string& path);

    std::string Read(std::string_view section, std::string_view key) override;
    bool Write(std::string_view section, std::string_view key, std::string_view value) override;

  private:
    std::string ansiPath_;
};

// A form of the path that the ANSI functions can express on this system: the path itself when
// the code page holds all its characters, otherwise the short 8.3 form of its folder.
std::string AnsiPathFor(const std::wstring& folder, const std::wstring& fileName);

}  // namespace vt
