// Fakes of the ports for the native tests.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "download/job_runner.h"
#include "download/jobs.h"
#include "journal.h"
#include "ports/clock.h"
#include "ports/day_names.h"
#include "ports/desktop.h"
#include "ports/files.h"
#include "ports/main_view.h"
#include "ports/profile.h"
#include "ports/random.h"
#include "ports/system_info.h"
#include "ports/tray_shell.h"
#include "text/encoding.h"

namespace vt::test {

// An INI file in memory: sections and keys match without regard to case, like the profile API.
class FakeProfile : public Profile {
  public:
    struct Entry {
        std::string section, key, value;
    };

    std::string Read(std::string_view section, std::string_view key) override {
        const Entry* e = Find(section, key);
        return e ? e->value : std::string();
    }

    bool Write(std::string_view section, std::string_view key, std::string_view value) override {
        if (failWritesFrom >= 0 && writes >= failWritesFrom) {
            ++writes;
            Note(journal,
                 "profile: write " + std::string(section) + "/" + std::string(key) + " failed");
            return false;
        }
        ++writes;
        writeLog.push_back(std::string(section) + "/" + std::string(key) + "=" +
                           std::string(value));
        Note(journal, "profile: write " + writeLog.back());
        if (Entry* e = Find(section, key)) {
            e->value = value;
        } else {
            entries.push_back({std::string(section), std::string(key), std::string(value)});
        }
        return true;
    }

    bool CommitWrites() override {
        ++commits;
        return !failCommits;
    }

    void Set(const std::string& section, const std::string& key, const std::string& value) {
        if (Entry* e = Find(section, key)) {
            e->value = value;
        } else {
            entries.push_back({section, key, value});
        }
    }

    // The file as the profile functions lay it out: sections in order of first write.
    std::string Text() const {
        std::vector<std::string> sections;
        for (const auto& e : entries) {
            bool seen = false;
            for (const auto& s : sections) seen = seen || EqualsIgnoreCase(s, e.section);
            if (!seen) sections.push_back(e.section);
        }
        std::string text;
        for (const auto& s : sections) {
            text += "[" + s + "]\r\n";
            for (const auto& e : entries) {
                if (EqualsIgnoreCase(e.section, s)) text += e.key + "=" + e.value + "\r\n";
            }
        }
        return text;
    }

    std::vector<Entry> entries;
    std::vector<std::string> writeLog;
    int writes = 0;
    int failWritesFrom = -1;   // the number of the first write that fails, -1 for none
    bool failCommits = false;  // CommitWrites reports the file unchanged
    int commits = 0;
    Journal* journal = nullptr;

  private:
    Entry* Find(std::string_view section, std::string_view key) {
        for (auto& e : entries) {
            if (EqualsIgnoreCase(e.section, section) && EqualsIgnoreCase(e.key, key)) return &e;
        }
        return nullptr;
    }
    const Entry* Find(std::string_view section, std::string_view key) const {
        return const_cast<FakeProfile*>(this)->Find(section, key);
    }
};

class FakeFiles : public Files {
  public:
    struct File {
        std::string content;
        UtcTime written;
        bool locked = false;
        bool readError = false;
    };

    bool Exists(const std::string& path) override {
        Note(journal, "files: exists " + path);
        return files.count(path) > 0;
    }

    std::unique_ptr<OpenFile> OpenExclusive(const std::string& path) override {
        Note(journal, "files: open " + path);
        auto it = files.find(path);
        if (it == files.end() || it->second.locked) return nullptr;
        opened.push_back(path);
        return std::make_unique<Open>(it->second);
    }

    std::optional<std::string> ReadAll(const std::string& path) override {
        Note(journal, "files: read " + path);
        auto it = files.find(path);
        if (it == files.end() || it->second.locked || it->second.readError) return std::nullopt;
        return it->second.content;
    }

    bool Replace(const std::string& path, std::string_view bytes) override {
        Note(journal, "files: replace " + path);
        if (failReplace) return false;
        files[path] = {std::string(bytes), now, false, false};
        return true;
    }

    std::map<std::string, File> files;
    std::vector<std::string> opened;
    UtcTime now;
    bool failReplace = false;
    Journal* journal = nullptr;

  private:
    class Open : public OpenFile {
      public:
        explicit Open(const File& f) : f_(f) {}
        std::int64_t ByteCount() override {
            return f_.readError ? -1 : static_cast<std::int64_t>(f_.content.size());
        }
        std::optional<UtcTime> LastWriteUtc() override { return f_.written; }

      private:
        const File& f_;
    };
};

class FakeClock : public Clock {
  public:
    UtcTime NowUtc() const override { return now; }
    UtcTime now{2026, 12, 8, 9, 0, 0, 0};
};

// Draws from a script; reseeding is counted.
class FakeRandom : public Random {
  public:
    explicit FakeRandom(std::deque<int> script = {}) : script_(std::move(script)) {}
    void Reseed() override { ++reseeds; }
    int Draw(int range) override {
        ranges.push_back(range);
        if (script_.empty()) return 0;
        const int v = script_.front();
        script_.pop_front();
        return v;
    }
    int reseeds = 0;
    std::vector<int> ranges;

  private:
    std::deque<int> script_;
};

class FakeSystemInfo : public SystemInfo {
  public:
    int WindowsMajorVersion() override { return major; }
    std::string DataFolder() override { return folder; }
    std::string ProgramPath() override { return folder + "vantoreltray.exe"; }
    int major = 10;
    std::string folder = "C:\\Apps\\Tray\\";
};

class RussianTestDayNames : public DayNames {
  public:
    std::string Abbreviated(int dayOfWeek) const override {
        static const char* kNames[] = {"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"};
        return kNames[dayOfWeek];
    }
};

class FakeTray : public TrayShell {
  public:
    struct Call {
        TrayMessage message;
        TrayData data;
        TrayIconImage image;
    };
    bool Notify(TrayMessage message, const TrayData& data, const TrayIconImage& image) override {
        calls.push_back({message, data, image});
        Note(journal, message == TrayMessage::Add ? "tray: Add" : "tray: Modify");
        return accept;
    }
    void Remove() override {
        ++removes;
        Note(journal, "tray: Remove");
    }
    std::vector<Call> calls;
    int removes = 0;
    bool accept = true;
    Journal* journal = nullptr;
};

inline const char* MenuItemName(MenuItem item) {
    switch (item) {
        case MenuItem::News:
            return "News";
        case MenuItem::ICQ:
            return "ICQ";
        case MenuItem::Map:
            return "Map";
        case MenuItem::Avia:
            return "Avia";
        case MenuItem::Auto:
            return "Auto";
        case MenuItem::Month:
            return "Month";
        case MenuItem::Tourism:
            return "Tourism";
        case MenuItem::Frc:
            return "Frc";
        case MenuItem::Update:
            return "Update";
        case MenuItem::Install:
            return "Install";
        case MenuItem::AboutTray:
            return "AboutTray";
        case MenuItem::ExitTray:
            return "ExitTray";
    }
    return "?";
}

class FakeView : public MainView {
  public:
    void SetTimer1(bool on) override {
        timerLog.push_back(on);
        timer = on;
    }
    void SetMenuCaption(MenuItem item, const std::string& caption) override {
        captions[item] = caption;
        captionOrder.push_back(item);
    }
    void EnableMenuItem(MenuItem item, bool enabled) override {
        enabled_[item] = enabled;
        Note(journal, std::string("menu: ") + MenuItemName(item) + (enabled ? " on" : " off"));
    }
    void ReportError(const std::string& text) override { errors.push_back(text); }
    void CloseMainForm() override { ++closes; }

    bool IsEnabled(MenuItem item) const {
        auto it = enabled_.find(item);
        return it == enabled_.end() || it->second;
    }

    bool timer = true;
    std::vector<bool> timerLog;
    std::map<MenuItem, std::string> captions;
    std::vector<MenuItem> captionOrder;
    std::vector<std::string> errors;
    int closes = 0;
    Journal* journal = nullptr;

  private:
    std::map<MenuItem, bool> enabled_;
};

class FakeJobs : public JobRunner {
  public:
    void Launch(std::uint64_t token, const JobInput& input) override;
    void WatchDeadlines(bool on) override { watching = on; }
    std::vector<int> started;  // job kinds, in launch order
    std::vector<std::uint64_t> tokens;
    std::vector<JobInput> inputs;
    bool watching = false;
    Journal* journal = nullptr;
};

class FakeDesktop : public Desktop {
  public:
    struct Link {
        std::string verb, address;
        ShowCommand show;
        bool operator==(const Link&) const = default;
    };
    void OpenLink(const std::string& verb, const std::string& address, ShowCommand show) override {
        links.push_back({verb, address, show});
    }
    void PopupMenuAtCursor() override { ++popups; }
    void SetAddRetryTimer(bool on) override { retryTimer = on; }
    std::vector<Link> links;
    int popups = 0;
    bool retryTimer = false;
};

inline void FakeJobs::Launch(std::uint64_t token, const JobInput& input) {
    started.push_back(static_cast<int>(input.kind));
    tokens.push_back(token);
    inputs.push_back(input);
    Note(journal, "jobs: launch " + std::to_string(static_cast<int>(input.kind)));
}

}  // namespace vt::test
