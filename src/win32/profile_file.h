// The settings file through the private-profile functions: code page 1251 on disk.
#pragma once

#include <string>
#include <vector>

#include "app/profile_text.h"
#include "ports/profile.h"

namespace vt {

class ProfileFile : public Profile {
  public:
    // path: the settings file path as the program names it (UTF-8, separator doubled).
    explicit ProfileFile(const std::string& path);

    std::string Read(std::string_view section, std::string_view key) override;
    bool Write(std::string_view section, std::string_view key, std::string_view value) override;
    void BeginWrites() override;
    bool CommitWrites() override;

  private:
    // The writes go to a copy of the file beside it, which is read back and checked against the
    // file's old entries and the writes, and only then moved over the file. On any failure the
    // copy is deleted and the file keeps every byte it had.
    bool Commit(const std::vector<ProfileWrite>& writes);

    std::wstring path_;
    std::string ansiPath_;
    std::wstring temporary_;
    std::string ansiTemporary_;
    bool batching_ = false;
    std::vector<ProfileWrite> pending_;  // in code page 1251
};

// A form of the path that the ANSI functions can express on this system: the path itself when
// the code page holds all its characters, otherwise the short 8.3 form of its folder.
std::string AnsiPathFor(const std::wstring& folder, const std::wstring& fileName);

}  // namespace vt
