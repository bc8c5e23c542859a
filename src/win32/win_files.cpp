#include "win32/win_files.h"

#include <windows.h>

#include <vector>

#include "win32/handles.h"
#include "win32/wide.h"

namespace vt {
namespace {

std::optional<UtcTime> ToUtc(const FILETIME& ft) {
    SYSTEMTIME st;
    if (!FileTimeToSystemTime(&ft, &st)) return std::nullopt;
    return UtcTime{st.wYear,   st.wMonth,  st.wDay,         st.wHour,
                   st.wMinute, st.wSecond, st.wMilliseconds};
}

bool ReadWhole(HANDLE file, std::string& out) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x7FFFFFFF) return false;
    out.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!out.empty() &&
        !ReadFile(file, out.data(), static_cast<DWORD>(out.size()), &read, nullptr)) {
        return false;
    }
    out.resize(read);
    return true;
}

class WinOpenFile : public OpenFile {
  public:
    explicit WinOpenFile(UniqueFile file) : file_(std::move(file)) {}

    std::int64_t ByteCount() override {
        SetFilePointer(file_.Get(), 0, nullptr, FILE_BEGIN);
        std::string content;
        if (!ReadWhole(file_.Get(), content)) return -1;
        return static_cast<std::int64_t>(content.size());
    }

    std::optional<UtcTime> LastWriteUtc() override {
        FILETIME written;
        if (!GetFileTime(file_.Get(), nullptr, nullptr, &written)) return std::nullopt;
        return ToUtc(written);
    }

  private:
    UniqueFile file_;
};

}  // namespace

bool WinFiles::Exists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::unique_ptr<OpenFile> WinFiles::OpenExclusive(const std::string& path) {
    UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return nullptr;
    return std::make_unique<WinOpenFile>(std::move(file));
}

std::optional<std::string> WinFiles::ReadAll(const std::string& path) {
    UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string content;
    if (!ReadWhole(file.Get(), content)) return std::nullopt;
    return content;
}

std::wstring TemporaryPathFor(const std::wstring& target) {
    return target + L".part";
}

void RemoveStaleTemporaries(const std::wstring& folder) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG minuteAgo =
        ((ULONGLONG{now.dwHighDateTime} << 32) | now.dwLowDateTime) - 60ULL * 10000000ULL;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"*.part").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const ULONGLONG written = (ULONGLONG{found.ftLastWriteTime.dwHighDateTime} << 32) |
                                  found.ftLastWriteTime.dwLowDateTime;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && written < minuteAgo) {
            DeleteFileW((folder + found.cFileName).c_str());
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

bool CommitTemporary(const std::wstring& path, const std::wstring& target) {
    {
        UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !FlushFileBuffers(file.Get())) return false;
    }
    return MoveFileExW(path.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool WinFiles::Replace(const std::string& path, std::string_view bytes) {
    const std::wstring target = Wide(path);
    const std::wstring temporary = TemporaryPathFor(target);
    {
        UniqueFile file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        DWORD written = 0;
        const bool ok =
            bytes.empty() || (WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                        &written, nullptr) &&
                              written == bytes.size());
        if (!ok) {
            file.Reset();
            DeleteFileW(temporary.c_str());
            return false;
        }
    }
    if (!CommitTemporary(temporary, target)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace vt
