#include "win32/single_instance.h"

#include "win32/main_window_ids.h"

namespace vt {

std::uint64_t FolderKey(const std::wstring& folder) {
    std::wstring upper = folder;
    if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    while (!upper.empty() && (upper.back() == L'\\' || upper.back() == L'/')) upper.pop_back();
    std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
    for (wchar_t c : upper) {
        hash = (hash ^ static_cast<std::uint16_t>(c == L'/' ? L'\\' : c)) * 1099511628211ULL;
    }
    return hash;
}

SingleInstance::SingleInstance(const std::wstring& folder)
    : key_(FolderKey(folder)), wakeMessage_(RegisterWindowMessageW(kWakeMessageName)) {
    wchar_t name[64];
    wsprintfW(name, L"Local\\Vantorel.Tray.%08lX%08lX", static_cast<unsigned long>(key_ >> 32),
              static_cast<unsigned long>(key_ & 0xFFFFFFFFu));
    mutex_.Reset(CreateMutexW(nullptr, FALSE, name));
    // Without a mutex at all the program runs as before rather than not at all.
    first_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;
}

bool SingleInstance::WakeFirst() const {
    constexpr int kTries = 50, kPauseMs = 100;
    for (int i = 0; i < kTries; ++i) {
        // Every running copy is asked; only the one of this folder answers.
        for (HWND h = FindWindowExW(nullptr, nullptr, kMainWindowClass, nullptr); h;
             h = FindWindowExW(nullptr, h, kMainWindowClass, nullptr)) {
            DWORD_PTR answer = 0;
            if (SendMessageTimeoutW(h, wakeMessage_, static_cast<WPARAM>(key_ & 0xFFFFFFFFu),
                                    static_cast<LPARAM>(key_ >> 32), SMTO_ABORTIFHUNG, 1000,
                                    &answer) &&
                answer == static_cast<DWORD_PTR>(kWakeAnswer)) {
                return true;
            }
        }
        Sleep(kPauseMs);
    }
    return false;
}

bool SingleInstance::IsWakeRequest(UINT message, WPARAM wParam, LPARAM lParam) const {
    return message == wakeMessage_ && wakeMessage_ != 0 &&
           static_cast<std::uint32_t>(wParam) == static_cast<std::uint32_t>(key_) &&
           static_cast<std::uint32_t>(lParam) == static_cast<std::uint32_t>(key_ >> 32);
}

}  // namespace vt
