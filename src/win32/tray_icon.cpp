#include "win32/tray_icon.h"

#include <shellapi.h>

#include <cwchar>

#include "win32/main_window_ids.h"
#include "win32/tray_pictures.h"
#include "win32/wide.h"

namespace vt {
namespace {

template <std::size_t N>
void CopyText(wchar_t (&field)[N], const std::string& utf8) {
    const std::wstring wide = Wide(utf8);
    // The limits were applied to characters already; this only guards the buffer.
    const std::size_t n = wide.size() < N - 1 ? wide.size() : N - 1;
    std::wmemcpy(field, wide.data(), n);
    field[n] = L'\0';
}

}  // namespace

bool TrayIcon::Notify(TrayMessage message, const TrayData& data, const TrayIconImage& image) {
    // The wide record: with the ANSI one, Russian text is garbled wherever the system code page
    // is not 1251.
    NOTIFYICONDATAW nid = {};
    nid.cbSize = NOTIFYICONDATAW_V2_SIZE;
    nid.hWnd = window_;
    nid.uID = kTrayIconId;
    nid.uFlags = data.uFlags;
    nid.uCallbackMessage = data.uCallbackMessage;
    CopyText(nid.szTip, data.szTip);
    CopyText(nid.szInfo, data.szInfo);
    nid.uTimeout = data.uTimeout;
    CopyText(nid.szInfoTitle, data.szInfoTitle);
    nid.dwInfoFlags = data.dwInfoFlags;
    const int size = size_ > 0 ? size_ : TrayIconSize();
    UniqueIcon icon = MakeTrayIcon(image, size);
    nid.hIcon = icon.Get();
    lastSize_ = size;
    return Shell_NotifyIconW(message == TrayMessage::Add ? NIM_ADD : NIM_MODIFY, &nid) != FALSE;
}

void TrayIcon::Remove() {
    NOTIFYICONDATAW nid = {};
    nid.cbSize = NOTIFYICONDATAW_V2_SIZE;
    nid.hWnd = window_;
    nid.uID = kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &nid);
}

}  // namespace vt
