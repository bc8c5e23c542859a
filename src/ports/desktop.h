#pragma once

#include <string>

namespace vt {

enum class ShowCommand { Restore, ShowNormal };

// What the tray asks of the desktop besides its icon: web links and the popup menu.
class Desktop {
  public:
    virtual ~Desktop() = default;
    // ShellExecute with the given verb ("Open" from the icon, "open" from the menu).
    virtual void OpenLink(const std::string& verb, const std::string& address,
                          ShowCommand show) = 0;
    virtual void PopupMenuAtCursor() = 0;
    // A timer of its own that retries adding the icon until the shell takes it.
    virtual void SetAddRetryTimer(bool on) = 0;
};

}  // namespace vt
