// The hidden main window as the controller sees it: its timer, its popup menu, and the
// top-level error handler.
#pragma once

#include <string>

namespace vt {

enum class MenuItem {
    News,
    ICQ,
    Map,
    Avia,
    Auto,
    Month,
    Tourism,
    Frc,
    Update,
    Install,
    AboutTray,
    ExitTray,
};

class MainView {
  public:
    virtual ~MainView() = default;
    virtual void SetTimer1(bool on) = 0;
    virtual void SetMenuCaption(MenuItem item, const std::string& caption) = 0;
    virtual void EnableMenuItem(MenuItem item, bool enabled) = 0;
    // Shows an error's text in a message box without holding up the caller.
    virtual void ReportError(const std::string& text) = 0;
    // Ends the message loop once the current message has been handled.
    virtual void CloseMainForm() = 0;
};

}  // namespace vt
