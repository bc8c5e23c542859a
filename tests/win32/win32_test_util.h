#pragma once

#include <windows.h>

#include <string>

#include "win32/wide.h"

namespace vt::test {

// A new empty folder under the temporary folder, with the given name; UTF-8, ends with "\".
inline std::string MakeTempFolder(const std::string& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring path = std::wstring(temp) + Wide(name) + L"-" +
                        std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(GetTickCount());
    CreateDirectoryW(path.c_str(), nullptr);
    return Narrow(path) + "\\";
}

inline std::string ReadBytes(const std::string& path) {
    HANDLE h = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string content(1 << 16, '\0');
    DWORD n = 0;
    ReadFile(h, content.data(), static_cast<DWORD>(content.size()), &n, nullptr);
    CloseHandle(h);
    content.resize(n);
    return content;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE h =
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

}  // namespace vt::test
