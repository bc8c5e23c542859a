// The About dialog as its logic sees it.
#pragma once

#include <string>

namespace vt {

enum class AboutText { Caption, Label1, Label4, Label2, Label8, Label5, Label6, Label7, Button1 };

enum class AppCursor { Default, HandPoint };

class AboutView {
  public:
    virtual ~AboutView() = default;
    // Shows the dialog, or only brings it forward when it is open.
    virtual void ShowForm() = 0;
    virtual void HideForm() = 0;
    virtual void SetText(AboutText which, const std::string& text) = 0;
    // The address in the default browser, with the About window as the owner.
    virtual void OpenAddress(const std::string& address) = 0;
    // The mouse pointer of the whole application.
    virtual void SetAppCursor(AppCursor cursor) = 0;
};

}  // namespace vt
