#include "win32/error_boundary.h"

#include "win32/wide.h"

namespace vt {

void ShowErrorBox(HWND owner, const std::string& text) {
    // The toolkit's handler ends a message with a full stop.
    std::string message = text;
    if (!message.empty() && message.back() != '.') message += '.';
    MessageBoxW(owner, Wide(message).c_str(), L"Vantorel.Tray", MB_OK | MB_ICONSTOP);
}

}  // namespace vt
