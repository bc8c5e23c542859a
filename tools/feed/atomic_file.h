// Files a web server may be serving while they are replaced: readers see the old bytes or the
// new ones, never a half-written file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vtf {

// Writes "<name>.part" beside the target, flushes it to disk and renames it over the target.
// Returns what went wrong, empty on success; on failure the target is untouched and the
// temporary file removed.
std::string WriteAtomically(const std::filesystem::path& target, std::string_view bytes);

// Held while a build writes into a folder, so two runs (a slow cron job and the next one) do
// not interleave their files.
class FolderLock {
  public:
    explicit FolderLock(const std::filesystem::path& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    bool Held() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

}  // namespace vtf
