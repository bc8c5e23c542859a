#include "prefs/autostart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/tray_settings.h"
#include "fake_registry.h"

namespace vt {
namespace {

using test::FakeRegistry;
using Journal = std::vector<std::string>;

// Written out rather than taken from kRunKey, so a wrong constant cannot pass.
const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kPath = "C:\\Apps\\Tray\\VantorelTray.exe";
const std::string kOther = "D:\\Old\\VantorelTray.exe";
const std::string kFailed = "Failed to set data for 'VantorelTray'";
const std::string kInvalid = "Invalid data type for 'VantorelTray'";
constexpr auto kMachine = RegistryRoot::LocalMachine;
constexpr auto kUser = RegistryRoot::CurrentUser;
constexpr auto none = std::nullopt;

RegistryValue Text(const std::string& data) {
    return {true, data};
}
const RegistryValue kDword{false, ""};

struct KeyState {
    bool exists, writable;
    std::optional<RegistryValue> value;
};
KeyState Writable(std::optional<RegistryValue> v = none) {
    return {true, true, std::move(v)};
}
KeyState ReadOnly(std::optional<RegistryValue> v = none) {
    return {true, false, std::move(v)};
}
KeyState Missing() {
    return {false, false, none};
}

FakeRegistry Make(const KeyState& machine, const KeyState& user) {
    FakeRegistry registry;
    for (const auto& [root, state] : {std::pair{kMachine, machine}, std::pair{kUser, user}}) {
        if (!state.exists) continue;
        auto& key = registry.At(root, kRun);
        key.writable = state.writable;
        if (state.value) key.values["VantorelTray"] = *state.value;
    }
    return registry;
}

// Runs the update; the error text, empty when none was raised. Every key must be closed.
std::string Update(FakeRegistry& registry, const std::string& autoload,
                   const std::string& path = kPath) {
    std::string error;
    try {
        UpdateAutostart(registry, AutostartOf(autoload), path);
    } catch (const AutostartError& e) {
        error = e.what();
    }
    EXPECT_EQ(registry.openKeys, 0);
    return error;
}

TEST(Autostart, BringsTheRunValueInLine) {
    struct Case {
        KeyState machine, user;
        const char* autoload;
        std::optional<std::string> machineAfter, userAfter;
        std::string error;
    };
    const Case cases[] = {
        {Writable(), Writable(), "true", kPath, none, ""},
        {Writable(Text(kOther)), Writable(), "true", kPath, none, ""},
        // The machine-wide entry replaces one an earlier run left in the user's key.
        {Writable(), Writable(Text(kPath)), "true", kPath, none, ""},
        {Writable(Text(kPath)), Writable(Text(kOther)), "true", kPath, none, ""},
        {Writable(), ReadOnly(Text(kPath)), "true", kPath, kPath, ""},
        {Writable(Text(kOther)), Writable(Text(kPath)), "false", none, none, ""},
        {Writable(), Writable(), "false", none, none, ""},
        {Writable(Text("")), Writable(), "false", "", none, ""},       // empty data stays
        {ReadOnly(Text(kPath)), Writable(), "true", kPath, none, ""},  // ours: no second entry
        {ReadOnly(Text(kPath)), Writable(Text(kPath)), "false", kPath, none, ""},
        {ReadOnly(Text(kOther)), Writable(), "true", kOther, kPath, ""},
        {ReadOnly(kDword), Writable(), "true", "", kPath, ""},  // not ours, not checked
        {Missing(), Writable(), "true", none, kPath, ""},
        {ReadOnly(), Writable(Text(kOther)), "false", none, none, ""},
        {ReadOnly(Text(kPath)), Missing(), "false", kPath, none, ""},  // silently nothing
        {Writable(kDword), Writable(), "true", "", none, kInvalid},
        {Writable(kDword), Writable(Text(kPath)), "false", "", kPath, kInvalid},
        {Writable(kDword), Writable(), "yes", "", none, kInvalid},
        {ReadOnly(), Writable(kDword), "true", none, "", kInvalid},
        {ReadOnly(), Missing(), "true", none, none, kFailed},
        {Missing(), ReadOnly(), "true", none, none, kFailed},
        {Writable(Text(kOther)), Writable(Text(kOther)), "True", kOther, kOther, ""},  // no choice
        {Writable(Text(kOther)), Writable(Text(kOther)), "", kOther, kOther, ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        FakeRegistry registry = Make(c.machine, c.user);
        EXPECT_EQ(Update(registry, c.autoload), c.error);
        EXPECT_EQ(registry.Data(kMachine, kRun, "VantorelTray"), c.machineAfter);
        EXPECT_EQ(registry.Data(kUser, kRun, "VantorelTray"), c.userAfter);
    }
}

TEST(Autostart, JournalsFlushBeforeCloseAndNothingMoreThanNeeded) {
    struct Case {
        KeyState machine, user;
        const char* autoload;
        Journal journal;
    };
    const Case cases[] = {
        {ReadOnly(Text(kOther)),
         Writable(),
         "true",
         {"HKLM open write failed", "HKLM open read", "HKLM query VantorelTray", "HKLM close",
          "HKCU open write", "HKCU query VantorelTray", "HKCU set VantorelTray=" + kPath,
          "HKCU flush", "HKCU close"}},
        {Writable(),
         Writable(),
         "false",
         {"HKLM open write", "HKLM query VantorelTray", "HKLM flush", "HKLM close",
          "HKCU open write", "HKCU query VantorelTray", "HKCU flush", "HKCU close"}},
        {Writable(kDword),
         Writable(),
         "true",
         {"HKLM open write", "HKLM query VantorelTray", "HKLM close"}},
        {Writable(Text(kOther)),
         Writable(),
         "maybe",
         {"HKLM open write", "HKLM query VantorelTray", "HKLM close"}},
    };
    for (const auto& c : cases) {
        FakeRegistry registry = Make(c.machine, c.user);
        Update(registry, c.autoload);
        EXPECT_EQ(registry.journal, c.journal) << c.autoload;
    }
}

TEST(Autostart, FailedWriteIsRaisedAfterClosingTheKey) {
    FakeRegistry registry = Make(Writable(), Writable());
    registry.At(kMachine, kRun).failSet = true;
    EXPECT_EQ(Update(registry, "true"), kFailed);
    EXPECT_EQ(registry.journal.back(), "HKLM close");
    EXPECT_EQ(registry.journal.end()[-2], "HKLM set VantorelTray failed");
}

TEST(Autostart, TickedTwiceWritesTheSameDataTwice) {
    FakeRegistry registry = Make(Writable(), Writable());
    Update(registry, "true");
    Update(registry, "true");
    EXPECT_EQ(std::count(registry.journal.begin(), registry.journal.end(),
                         "HKLM set VantorelTray=" + kPath),
              2);
}

TEST(Autostart, PathsWithBlanksAreQuotedWhereWrittenAndCompared) {
    const std::string path = "C:\\Program Files\\Vantorel\\VantorelTray.exe";
    const std::string quoted = "\"" + path + "\"";
    EXPECT_EQ(RunValueData(kPath), kPath);
    EXPECT_EQ(RunValueData(path), quoted);

    FakeRegistry writable = Make(Writable(), Writable());
    Update(writable, "true", path);
    EXPECT_EQ(writable.Data(kMachine, kRun, "VantorelTray"), quoted);
    // An older entry without quotes is not ours: Windows may split it at the blank.
    FakeRegistry unquoted = Make(ReadOnly(Text(path)), Writable());
    Update(unquoted, "true", path);
    EXPECT_EQ(unquoted.Data(kUser, kRun, "VantorelTray"), quoted);
    FakeRegistry ours = Make(ReadOnly(Text(quoted)), Writable());
    Update(ours, "true", path);
    EXPECT_EQ(ours.Data(kUser, kRun, "VantorelTray"), none);
}

}  // namespace
}  // namespace vt
