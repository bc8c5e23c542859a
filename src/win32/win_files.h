#pragma once

#include <windows.h>

#include <string>

#include "ports/files.h"

namespace vt {

// Every file the program replaces is first written under one fixed name beside it, so that an
// interrupted write leaves at most one such file per target, reused by the next write.
std::wstring TemporaryPathFor(const std::wstring& target);

// Deletes the temporary files in folder (a path ending in a backslash) that are older than a
// minute: those of writes a kill or a power cut interrupted.
void RemoveStaleTemporaries(const std::wstring& folder);

// Flushes path's data to the disk and moves it over target in one step.
bool CommitTemporary(const std::wstring& path, const std::wstring& target);

class WinFiles : public Files {
  public:
    bool Exists(const std::string& path) override;
    std::unique_ptr<OpenFile> OpenExclusive(const std::string& path) override;
    std::optional<std::string> ReadAll(const std::string& path) override;
    bool Replace(const std::string& path, std::string_view bytes) override;
};

}  // namespace vt
