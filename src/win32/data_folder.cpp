#include "win32/data_folder.h"

#include <windows.h>
// after windows.h
#include <shlobj.h>

#include "app/tray_settings.h"
#include "win32/system_adapters.h"
#include "win32/wide.h"

namespace vt {

namespace {

// Creating and removing a file is the one sure test: attributes and ACLs do not tell about a
// read-only medium, and a folder's read-only attribute means nothing for its files.
bool CanWriteIn(const std::wstring& folder) {
    // Digits by to_string: to_wstring would bring the C library's whole wide printf along.
    const std::string pid = std::to_string(GetCurrentProcessId());
    const std::wstring probe =
        folder + L"vantoreltray-" + std::wstring(pid.begin(), pid.end()) + L".probe";
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

std::wstring LocalAppData() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(
            SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, path))) {
        return {};
    }
    return path;
}

}  // namespace

DataFolder ChooseDataFolder(const std::wstring& programFolder, const std::wstring& localAppData) {
    const DataFolder own{Narrow(programFolder), false};
    if (localAppData.empty() || CanWriteIn(programFolder)) return own;
    const std::wstring folder = localAppData + L"\\" + Wide(kUserDataFolderName) + L"\\";
    const bool made = CreateDirectoryW(folder.c_str(), nullptr) != FALSE;
    if (!made && GetLastError() != ERROR_ALREADY_EXISTS) return own;
    // The user's settings come along, once: a copy already there is never overwritten.
    const std::wstring settings = Wide(kSettingsFileName);
    CopyFileW((programFolder + settings).c_str(), (folder + settings).c_str(), TRUE);
    return {Narrow(folder), made};
}

const DataFolder& TheDataFolder() {
    static const DataFolder chosen = [] {
        std::wstring folder = Wide(WinSystemInfo().ProgramPath());
        folder.resize(folder.find_last_of(L'\\') + 1);
        return ChooseDataFolder(folder, LocalAppData());
    }();
    return chosen;
}

}  // namespace vt
