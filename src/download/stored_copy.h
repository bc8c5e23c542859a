// Whether a copy stored by an earlier download may stand in for a failed one.
#pragma once

#include <cstdint>
#include <string>

#include "common/calendar.h"

namespace vt {

class Files;

inline constexpr std::int64_t kStoredCopyFreshMillis = 12LL * 60 * 60 * 1000;

enum class StoredCopy {
    CannotOpen,  // missing, held open by another handle, or without a readable write time
    Fresh,       // written at most 12 hours ago, or later than now
    Stale,       // written more than 12 hours ago
};

StoredCopy CheckStoredCopy(Files& files, const std::string& path, const UtcTime& nowUtc);

}  // namespace vt
