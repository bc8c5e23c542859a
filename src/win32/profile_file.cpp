#include "win32/profile_file.h"

#include <windows.h>

#include "text/encoding.h"
#include "win32/handles.h"
#include "win32/wide.h"
#include "win32/win_files.h"

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

ProfileFile::ProfileFile(const std::string& path) : path_(Wide(path)) {
    std::size_t cut = path_.find_last_not_of(L'\\', path_.find_last_of(L'\\'));
    cut = cut == std::wstring::npos ? 0 : cut + 1;
    const std::wstring folder = path_.substr(0, cut);
    const std::wstring fileName = path_.substr(cut);
    ansiPath_ = AnsiPathFor(folder, fileName);
    temporary_ = TemporaryPathFor(path_);
    ansiTemporary_ = AnsiPathFor(folder, TemporaryPathFor(fileName));
}

std::string ProfileFile::Read(std::string_view section, std::string_view key) {
    // A write not yet committed is what the caller expects to read.
    for (auto w = pending_.rbegin(); w != pending_.rend(); ++w) {
        if (EqualsIgnoreCase(w->section, section) && EqualsIgnoreCase(w->key, key)) {
            return Cp1251ToUtf8(w->value);
        }
    }
    char buffer[kValueBufferSize] = {};
    GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), "", buffer,
                             kValueBufferSize, ansiPath_.c_str());
    return Cp1251ToUtf8(buffer);
}

bool ProfileFile::Write(std::string_view section, std::string_view key, std::string_view value) {
    ProfileWrite write{std::string(section), std::string(key), Utf8ToCp1251(value)};
    if (!batching_) return Commit({write});
    pending_.push_back(std::move(write));
    return true;
}

void ProfileFile::BeginWrites() {
    batching_ = true;
    pending_.clear();
}

bool ProfileFile::CommitWrites() {
    batching_ = false;
    std::vector<ProfileWrite> writes = std::move(pending_);
    pending_.clear();
    return writes.empty() || Commit(writes);
}

bool ProfileFile::Commit(const std::vector<ProfileWrite>& writes) {
    WinFiles files;
    const std::optional<std::string> before = files.ReadAll(Narrow(path_));
    const bool existed = GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (existed && !before) return false;  // there, but unreadable: nothing to build on
    bool ok = existed ? CopyFileW(path_.c_str(), temporary_.c_str(), FALSE) != FALSE
                      : static_cast<bool>(
                            UniqueFile(CreateFileW(temporary_.c_str(), GENERIC_WRITE, 0, nullptr,
                                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
    for (const ProfileWrite& w : writes) {
        ok = ok && WritePrivateProfileStringA(w.section.c_str(), w.key.c_str(), w.value.c_str(),
                                              ansiTemporary_.c_str()) != FALSE;
    }
    // Drops the functions' cached copy, so that what is checked is what the disk holds.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ansiTemporary_.c_str());
    if (ok) {
        const std::optional<std::string> after = files.ReadAll(Narrow(temporary_));
        ok = after && ParseProfileText(*after) ==
                          ExpectedAfter(ParseProfileText(before.value_or("")), writes);
    }
    ok = ok && CommitTemporary(temporary_, path_);
    if (!ok) DeleteFileW(temporary_.c_str());
    return ok;
}

}  // namespace vt
