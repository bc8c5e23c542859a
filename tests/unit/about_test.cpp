#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/about_form.h"
#include "program_rig.h"

namespace vt {
namespace {

using namespace vt::test;
using T = AboutText;

TEST(AboutCreation, SetsItsTextsInOrderAndStaysHidden) {
    ProgramRig rig;
    rig.Start();
    const FakeAboutView& v = rig.aboutView;
    const std::vector<std::pair<AboutText, std::string>> expected = {
        {T::Caption, "Vantorel.Tray"},
        {T::Label1, "Vantorel.Tray"},
        {T::Label4, "http://127.0.0.6:8717/"},
        {T::Label2, "Версия 1.10"},
        {T::Label8, "04.12.2007"},
        {T::Label5, "За дополнительной информацией обращайтесь"},
        {T::Label6, "на сайт"},
        {T::Label7, "http://127.0.0.6:8717/"},
        {T::Button1, "Ok"},
    };
    std::vector<AboutText> order;
    for (const auto& [which, text] : expected) {
        order.push_back(which);
        EXPECT_EQ(v.texts.at(which), text);
    }
    EXPECT_EQ(v.textOrder, order);
    EXPECT_FALSE(v.shown);
    EXPECT_EQ(v.shows, 0);
}

TEST(AboutLinks, OpenTheFanSiteAndSetThePointerOfTheApplication) {
    struct Case {
        const char* configured;  // the [service] fanSite, empty for none
        const char* address;
    };
    const Case cases[] = {
        {"", "http://127.0.0.6:8717/"},
        {"fans.example.org:8080", "http://fans.example.org:8080/"},
        {"bad host/", "http://127.0.0.6:8717/"},
    };
    for (const Case& c : cases) {
        ProgramRig rig;
        if (*c.configured) rig.profile.Set("service", "fanSite", c.configured);
        rig.Start();
        TForm3& about = rig.About();
        rig.Main().AboutTrayClick();
        FakeAboutView& v = rig.aboutView;
        EXPECT_EQ(v.texts[T::Label4], c.address) << c.configured;
        EXPECT_EQ(v.texts[T::Label7], c.address) << c.configured;
        rig.journal.Clear();
        about.LabelMouseMove();
        about.LabelClick();
        about.LabelMouseLeave();
        about.LabelMouseMove();
        about.LabelClick();
        const std::vector<std::string> journal = {
            "about: cursor hand", std::string("about: open ") + c.address, "about: cursor default",
            "about: cursor hand", std::string("about: open ") + c.address,
        };
        EXPECT_EQ(rig.journal.entries, journal) << c.configured;
        EXPECT_TRUE(v.shown) << "a click leaves the dialog open";
        EXPECT_TRUE(rig.desktop.links.empty()) << "not through the click counter";
    }
}

enum class Act {
    MenuAbout,
    PrefsOpen,
    Button3,
    PrefsCancel,
    PrefsCloseBox,
    AboutOk,
    AboutCloseBox
};

void Do(ProgramRig& rig, Act act) {
    switch (act) {
        case Act::MenuAbout:
            rig.Main().MenuClick(MenuItem::AboutTray);
            break;
        case Act::PrefsOpen:
            rig.Main().MenuClick(MenuItem::Install);
            break;
        case Act::Button3:
            rig.Prefs().Button3Click();
            break;
        case Act::PrefsCancel:
            rig.Prefs().Button2Click();
            break;
        case Act::PrefsCloseBox:
            rig.prefsView.HideForm();
            rig.Prefs().FormClose();
            break;
        case Act::AboutOk:
            rig.About().Button1Click();
            break;
        case Act::AboutCloseBox:
            rig.aboutView.HideForm();
            rig.About().FormClose();
            break;
    }
}

TEST(AboutEnabling, AboutTrayAndButton3FollowWhereAboutOpenedAndWhichDialogClosesFirst) {
    struct Step {
        Act act;
        bool aboutTray, button3, install, aboutShown;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"from the menu",
         {{Act::MenuAbout, false, false, true, true}, {Act::AboutOk, true, true, true, false}}},
        {"from the menu, the preferences opened and closed meanwhile",
         {{Act::MenuAbout, false, false, true, true},
          {Act::PrefsOpen, false, false, false, true},
          {Act::PrefsCancel, true, false, true, true},
          {Act::AboutCloseBox, true, true, true, false}}},
        {"from Button3, the preferences close first",
         {{Act::PrefsOpen, true, true, false, false},
          {Act::Button3, false, true, false, true},
          {Act::PrefsCloseBox, true, true, true, true},
          {Act::AboutOk, true, true, true, false}}},
        {"from Button3, About closes first",
         {{Act::PrefsOpen, true, true, false, false},
          {Act::Button3, false, true, false, true},
          {Act::AboutCloseBox, true, true, false, false},
          {Act::PrefsCancel, true, true, true, false}}},
        {"from the menu while the preferences are open",
         {{Act::PrefsOpen, true, true, false, false},
          {Act::MenuAbout, false, false, false, true},
          {Act::PrefsCancel, true, false, true, true},
          {Act::AboutOk, true, true, true, false}}},
    };
    for (const Case& c : cases) {
        ProgramRig rig;
        rig.StoreTownList("27612;Москва;x;Россия;\r\n");
        rig.Start();
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            const Step& s = c.steps[i];
            Do(rig, s.act);
            EXPECT_EQ(rig.view.IsEnabled(MenuItem::AboutTray), s.aboutTray) << c.name << " " << i;
            EXPECT_EQ(rig.prefsView.IsEnabled(PrefsControl::Button3), s.button3)
                << c.name << " " << i;
            EXPECT_EQ(rig.view.IsEnabled(MenuItem::Install), s.install) << c.name << " " << i;
            EXPECT_EQ(rig.aboutView.shown, s.aboutShown) << c.name << " " << i;
        }
    }
}

TEST(AboutShowing, ShowingItAgainWhileOpenOnlyBringsItForward) {
    ProgramRig rig;
    rig.Start();
    rig.journal.Clear();
    rig.Main().AboutTrayClick();
    rig.Main().AboutTrayClick();
    EXPECT_EQ(rig.journal.With("about:"), (std::vector<std::string>{"about: show", "about: show"}));
    EXPECT_TRUE(rig.aboutView.shown);
    rig.About().Button1Click();
    EXPECT_EQ(rig.journal.entries.back(), "prefs: Button3 on");
    EXPECT_FALSE(rig.aboutView.shown);
}

}  // namespace
}  // namespace vt
