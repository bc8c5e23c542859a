#include "download/stored_copy.h"

#include <memory>
#include <optional>

#include "ports/files.h"

namespace vt {

StoredCopy CheckStoredCopy(Files& files, const std::string& path, const UtcTime& nowUtc) {
    std::optional<UtcTime> written;
    {
        const std::unique_ptr<OpenFile> file = files.OpenExclusive(path);
        if (!file) return StoredCopy::CannotOpen;
        written = file->LastWriteUtc();
    }  // closed before the decision, like a plain open-read-close
    if (!written) return StoredCopy::CannotOpen;
    const std::int64_t age = ToUnixMillis(nowUtc) - ToUnixMillis(*written);
    return age <= kStoredCopyFreshMillis ? StoredCopy::Fresh : StoredCopy::Stale;
}

}  // namespace vt
