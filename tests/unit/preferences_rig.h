// What the preferences tests share: a program with its stored files in place, opened or not.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "forms/preferences_form.h"
#include "program_rig.h"

namespace vt::test {

using C = PrefsControl;
using R = PrefsChoice;
using Lines = std::vector<std::string>;

// 0 Москва, 1 and 2 two towns named Киев, 3 an index with a letter, 4 a four-digit index.
inline const std::string kList =
    "27612;Москва;x;Россия;\r\n33345;Киев;x;Украина;\r\n12345;Киев;x;Россия;\r\n"
    "12a4;Энск;x;Россия;\r\n1234;Пущино;x;Россия;\r\n";
inline const std::string kListFile = "C:\\Apps\\Tray\\vlbartlistfull.txt";
inline const std::string kLoading = "Идёт загрузка списка городов";
inline const std::string kClick = "Vantorel: Щелкните для просмотра прогноза погоды";
inline constexpr Colour kRed = 0x0000FF;

// What the top-level handler would show: each error of that type leaving the handler.
template <typename Error, typename Handler>
Lines Shown(Handler&& handler) {
    Lines shown;
    try {
        handler();
    } catch (const Error& e) {
        shown.push_back(e.what());
    }
    return shown;
}

// A program whose stored forecast of the default town and town list are in place, so that
// start-up and the opening start no job.
inline std::unique_ptr<ProgramRig> Ready(const std::string& list = kList) {
    auto rig = std::make_unique<ProgramRig>();
    rig->StoreForecast("27612");
    if (!list.empty()) rig->StoreTownList(list);
    rig->Start();
    return rig;
}

inline std::unique_ptr<ProgramRig> Opened(const std::string& list = kList) {
    auto rig = Ready(list);
    rig->Main().InstallClick();
    return rig;
}

inline void ClickRadio(ProgramRig& rig, PrefsChoice choice) {
    rig.prefsView.SetChecked(choice, true);
    TForm2& f = rig.Prefs();
    if (choice == R::RadioButton3) f.RadioButton3Click();
    if (choice == R::RadioButton4) f.RadioButton4Click();
    if (choice == R::RadioButton8) f.RadioButton8Click();
    if (choice == R::RadioButton9) f.RadioButton9Click();
    if (choice == R::RadioButton10) f.RadioButton10Click();
}

}  // namespace vt::test
