#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/calendar.h"

namespace vt {

// A file held open for reading with no sharing.
class OpenFile {
  public:
    virtual ~OpenFile() = default;
    // Bytes read from the whole file: 0 for an empty file, -1 on a read error.
    virtual std::int64_t ByteCount() = 0;
    virtual std::optional<UtcTime> LastWriteUtc() = 0;
};

// Paths are UTF-8 Windows paths.
class Files {
  public:
    virtual ~Files() = default;
    virtual bool Exists(const std::string& path) = 0;
    // Null when the file is missing or another handle holds it open.
    virtual std::unique_ptr<OpenFile> OpenExclusive(const std::string& path) = 0;
    // The whole content, read while other writers are denied; nullopt when it cannot be read.
    virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
    // Writes a temporary file beside path and moves it over path; on failure path is untouched.
    virtual bool Replace(const std::string& path, std::string_view bytes) = 0;
};

}  // namespace vt
