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

  private:
    HWND window_;
};

}  // namespace vt
