// Owners of Win32 handles.
#pragma once

#include <windows.h>

#include <utility>

namespace vt {

template <typename H, typename Traits>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(H h) : h_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(std::exchange(other.h_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.h_, Traits::Invalid()));
        return *this;
    }
    ~UniqueHandle() { Reset(); }

    H Get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    void Reset(H h = Traits::Invalid()) {
        if (h_ != Traits::Invalid()) Traits::Close(h_);
        h_ = h;
    }

  private:
    H h_ = Traits::Invalid();
};

struct FileTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};
struct GdiTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct DcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};
struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { DestroyMenu(h); }
};

struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};

using UniqueRegKey = UniqueHandle<HKEY, RegKeyTraits>;
using UniqueFile = UniqueHandle<HANDLE, FileTraits>;

// Mutexes, threads and the other kernel objects whose failed creation is a null handle.
struct KernelObjectTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
using UniqueKernelObject = UniqueHandle<HANDLE, KernelObjectTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, GdiTraits>;
using UniqueDc = UniqueHandle<HDC, DcTraits>;
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;

}  // namespace vt
