#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "preferences_rig.h"

namespace vt {
namespace {

using namespace vt::test;

TEST(PreferencesTownList, NoCopyOrAnEmptyOneDownloadsTheListAndItsCompletionLoadsIt) {
    for (bool emptyCopy : {false, true}) {
        SCOPED_TRACE(emptyCopy ? "a 0-byte copy" : "no copy");
        auto rig = Ready("");
        if (emptyCopy) rig->StoreTownList("");
        rig->S().frcTownName = "пущино";
        rig->Main().InstallClick();
        FakePrefsView& v = rig->prefsView;
        ASSERT_EQ(rig->jobs.started, (std::vector<int>{kTownListJob}));
        EXPECT_EQ(rig->jobs.inputs[0].townListFileBase, "vlbartlistfull");
        EXPECT_EQ(v.TownText(), kLoading);
        EXPECT_FALSE(v.IsEnabled(C::Button1));

        rig->StoreTownList(kList);
        rig->Finish(0, ProgramRig::Outcome(kLastJobTownList, true));
        EXPECT_EQ(v.entries, (Lines{"Москва", "Киев", "Киев", "Энск", "Пущино"}));
        EXPECT_EQ(v.SelectedTownEntry(), 4);
        EXPECT_EQ(v.TownText(), "Пущино");
        EXPECT_TRUE(v.IsEnabled(C::Button1));
        EXPECT_TRUE(v.IsEnabled(C::Button4));
        ASSERT_EQ(rig->Prefs().Towns.size(), 5u);
        EXPECT_EQ(rig->Prefs().Towns[4], (TComboList{"Пущино", "01234", "Россия"}));
    }
}

TEST(PreferencesTownList, AStoredCopyIsLoadedAtOnceWithTheTownSelectedInAnyCase) {
    struct Case {
        const char* town;
        int selected;
        const char* text;
    };
    const Case cases[] = {
        {"Москва", 0, "Москва"},
        {"мОСКВА", 0, "Москва"},
        {"КИЕВ", 1, "Киев"},
        {"Париж", -1, ""},
    };
    for (const Case& c : cases) {
        auto rig = Ready();
        rig->S().frcTownName = c.town;
        rig->journal.Clear();
        rig->Main().InstallClick();
        FakePrefsView& v = rig->prefsView;
        EXPECT_TRUE(rig->jobs.started.empty()) << c.town;
        EXPECT_EQ(v.entries.size(), 5u) << c.town;
        EXPECT_EQ(v.SelectedTownEntry(), c.selected) << c.town;
        EXPECT_EQ(v.TownText(), c.text) << c.town;
        EXPECT_TRUE(v.IsEnabled(C::Button1)) << c.town;
        EXPECT_TRUE(rig->journal.Has("files: read " + kListFile)) << c.town;
    }
}

TEST(PreferencesTownList, ALockedCopyIsDownloadedBesideItAndLoadedFromThere) {
    auto rig = Ready();
    rig->files.files[kListFile].locked = true;
    rig->Main().InstallClick();
    ASSERT_EQ(rig->jobs.started, (std::vector<int>{kTownListJob}));
    EXPECT_EQ(rig->jobs.inputs[0].townListFileBase, "vlbartlistfull1");
    EXPECT_EQ(rig->S().townListFileBase, "vlbartlistfull1");

    rig->StoreTownList("30000;Приморск;x;Украина;\r\n27612;Москва;x;Россия;", "vlbartlistfull1");
    rig->Finish(0, ProgramRig::Outcome(kLastJobTownList, true));
    EXPECT_EQ(rig->prefsView.entries, (Lines{"Приморск", "Москва"}));
    EXPECT_EQ(rig->prefsView.TownText(), "Москва");
}

TEST(PreferencesTownList, AnEarlierOpeningsJobStillRunningIsNotStartedAgain) {
    auto rig = Ready("");
    TForm1& main = rig->Main();
    main.InstallClick();
    rig->Prefs().Button2Click();
    rig->journal.Clear();
    main.InstallClick();
    FakePrefsView& v = rig->prefsView;
    EXPECT_EQ(rig->jobs.started.size(), 1u);
    EXPECT_EQ(rig->journal.With("files:"), Lines{}) << "the download is not judged again";
    EXPECT_EQ(v.TownText(), kLoading);
    EXPECT_FALSE(v.IsEnabled(C::Button1));

    rig->StoreTownList(kList);
    rig->Finish(0, ProgramRig::Outcome(kLastJobTownList, true));
    EXPECT_EQ(rig->jobs.started.size(), 1u) << "no second download afterwards either";
    EXPECT_EQ(v.entries.size(), 5u);
    EXPECT_EQ(v.TownText(), "Москва");
    EXPECT_TRUE(v.IsEnabled(C::Button1));
    // The list of this opening: OK takes a town of it.
    v.UserSelectsTown(1);
    rig->Prefs().Button1Click();
    EXPECT_EQ(rig->S().frcTownIndex, "33345");
}

TEST(PreferencesTownList, RefreshAlwaysDownloadsAndRestoresTheSelectionByName) {
    auto rig = Opened();
    FakePrefsView& v = rig->prefsView;
    v.UserSelectsTown(3);
    rig->S().frcTownName = "Киев";
    rig->journal.Clear();
    rig->Prefs().Button4Click();
    EXPECT_TRUE(v.entries.empty());
    EXPECT_FALSE(v.IsEnabled(C::Button4));
    EXPECT_FALSE(v.IsEnabled(C::Button1));
    EXPECT_EQ(v.TownText(), kLoading);
    EXPECT_EQ(rig->jobs.started, (std::vector<int>{kTownListJob})) << "although the copy is good";
    EXPECT_EQ(rig->journal.With("files:"), Lines{}) << "the copy is not consulted";

    rig->Finish(0, ProgramRig::Outcome(kLastJobTownList, true));
    EXPECT_EQ(v.SelectedTownEntry(), 1);
    EXPECT_EQ(v.TownText(), "Киев");
    EXPECT_TRUE(v.IsEnabled(C::Button4));
    EXPECT_TRUE(v.IsEnabled(C::Button1));
}

TEST(PreferencesTownList, LoadingEndsLoadedUnreadableOrEmpty) {
    struct Case {
        std::optional<std::string> file;  // nullopt: absent
        bool readError;
        const char* text;
        std::size_t entries;
    };
    const Case cases[] = {
        {kList, false, "Москва", 5},
        {std::nullopt, false, "Невозможно загрузить список городов", 0},
        {kList, true, "Невозможно загрузить список городов", 0},
        {"", false, "Список городов пуст", 0},
        {"\r\n", false, "", 1},
    };
    for (const Case& c : cases) {
        auto rig = Opened();
        rig->Prefs().Button4Click();
        rig->files.files.erase(kListFile);
        if (c.file) rig->StoreTownList(*c.file);
        if (c.readError) rig->files.files[kListFile].readError = true;
        rig->Finish(0, ProgramRig::Outcome(kLastJobTownList, true));
        FakePrefsView& v = rig->prefsView;
        EXPECT_EQ(v.TownText(), c.text) << c.text;
        EXPECT_EQ(v.entries.size(), c.entries) << c.text;
        EXPECT_EQ(rig->Prefs().Towns.size(), c.entries) << c.text;
        EXPECT_TRUE(v.IsEnabled(C::Button4)) << c.text;
        EXPECT_TRUE(v.IsEnabled(C::Button1)) << c.text;
    }
}

TEST(PreferencesTownList, AFailedJobsTextAndButton4ReachTheDialogBeforeJobDone) {
    const std::string noConnection = "Не удалось установить соединение с сервером погоды Vantorel";
    const std::string noFile = "Ошибка в доступе к файлу с списком городов";
    struct Case {
        std::optional<std::string> comboText;
        bool enableButton4;
        Lines journal;
    };
    const Case cases[] = {
        {noConnection,
         true,
         {"prefs: town text " + noConnection, "prefs: Button4 on", "menu: Update on",
          "prefs: Button1 on"}},
        {noFile,
         true,
         {"prefs: town text " + noFile, "prefs: Button4 on", "menu: Update on",
          "prefs: Button1 on"}},
        {std::nullopt, false, {"menu: Update on", "prefs: Button1 on"}},
    };
    for (const Case& c : cases) {
        auto rig = Opened();
        rig->Prefs().Button4Click();
        JobOutcome failed = ProgramRig::Outcome(kLastJobTownList, false);
        failed.comboText = c.comboText;
        failed.enableButton4 = c.enableButton4;
        rig->journal.Clear();
        rig->Finish(0, failed);
        EXPECT_EQ(rig->journal.entries, c.journal) << "no tray change, no load";
        FakePrefsView& v = rig->prefsView;
        EXPECT_EQ(v.TownText(), c.comboText.value_or(kLoading));
        EXPECT_EQ(v.IsEnabled(C::Button4), c.enableButton4);
        EXPECT_TRUE(v.entries.empty());
    }
}

// Steps 1 to 15 of OK, with a town whose forecast must be downloaded.

}  // namespace
}  // namespace vt
