// The About dialog's logic: its texts, the two links and the rules of the menu item AboutTray.
#pragma once

#include <string>

#include "app/links.h"
#include "version.h"

namespace vt {

class AboutView;
class MainView;
class TForm2;

struct AboutPorts {
    AboutView& view;
    MainView& menu;
};

inline constexpr const char* kVersionText = "Версия " VT_VERSION_TEXT;
inline constexpr const char* kBuildDateText = "04.12.2007";

class TForm3 {
  public:
    explicit TForm3(AboutPorts ports) : ports_(ports) {}
    void SetPreferences(TForm2* preferences) { preferences_ = preferences; }

    // fanSiteAddress: the address the links show and open ("http://" + host + "/").
    void FormCreate(const AboutCredit& credit);
    void Show();
    void Button1Click();
    void FormClose();
    void LabelClick();
    void LabelMouseMove();
    void LabelMouseLeave();

  private:
    AboutPorts ports_;
    TForm2* preferences_ = nullptr;
    std::string address_;
};

}  // namespace vt
