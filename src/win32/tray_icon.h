// Owns the program's one notification-area icon.
#pragma once

#include <windows.h>

#include "ports/tray_shell.h"

namespace vt {

class TrayIcon : public TrayShell {
  public:
    explicit TrayIcon(HWND window) : window_(window) {}

    bool Notify(TrayMessage message, const TrayData& data, const TrayIconImage& image) override;
    void Remove() override;

    // The size of the icons from now on, after a change of the scaling (0: the system's).
    void SetIconSize(int size) { size_ = size; }
    // The size of the icon last handed to the shell.
    int LastIconSize() const { return lastSize_; }

  private:
    HWND window_;
    int size_ = 0;
    int lastSize_ = 0;
};

}  // namespace vt
