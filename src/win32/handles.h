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

// A window's device context for the scope: released again at its end.
class ScopedGetDC {
  public:
    explicit ScopedGetDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    ~ScopedGetDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a device context for the scope: the one it replaced comes back at
// its end, so the object can be deleted afterwards.
class ScopedSelectObject {
  public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
    ~ScopedSelectObject() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace vt
