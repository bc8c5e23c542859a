#include "win32/profile_file.h"

#include <windows.h>

#include "text/encoding.h"
#include "win32/wide.h"

namespace vt {
namespace {

constexpr DWORD kValueBufferSize = 2048;

// nullopt-like empty result when the code page cannot hold every character.
bool ToAnsi(const std::wstring& wide, std::string& out) {
    if (wide.empty()) {
        out.clear();
        return true;
    }
    BOOL usedDefault = FALSE;
    const int n =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(),
                            static_cast<int>(wide.size()), nullptr, 0, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return false;
    out.assign(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), static_cast<int>(wide.size()),
                        out.data(), n, nullptr, &usedDefault);
    return !usedDefault;
}

}  // namespace

std::string AnsiPathFor(const std::wstring& folder, const std::wstring& fileName) {
    std::string ansi;
    if (ToAnsi(folder + fileName, ansi)) return ansi;
    wchar_t shortFolder[MAX_PATH * 2];
    const DWORD n = GetShortPathNameW(folder.c_str(), shortFolder, MAX_PATH * 2);
    if (n > 0 && n < MAX_PATH * 2 && ToAnsi(std::wstring(shortFolder, n) + fileName, ansi)) {
        return ansi;
    }
    // Nothing better exists; the calls will fail and report it.
    return Utf8ToCp1251(Narrow(folder + fileName));
}

ProfileFile::ProfileFile(const std::string& path) {
    const std::wstring wide = Wide(path);
    std::size_t cut = wide.find_last_not_of(L'\\', wide.find_last_of(L'\\'));
    cut = cut == std::wstring::npos ? 0 : cut + 1;
    ansiPath_ = AnsiPathFor(wide.substr(0, cut), wide.substr(cut));
}

std::string ProfileFile::Read(std::string_view section, std::string_view key) {
    char buffer[kValueBufferSize] = {};
    GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), "", buffer,
                             kValueBufferSize, ansiPath_.c_str());
    return Cp1251ToUtf8(buffer);
}

bool ProfileFile::Write(std::string_view section, std::string_view key, std::string_view value) {
    return WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                      Utf8ToCp1251(value).c_str(), ansiPath_.c_str()) != FALSE;
}

}  // namespace vt
