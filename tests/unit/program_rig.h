// The three forms wired to fakes that share one journal, started as the Win32 layer starts them.
#pragma once

#include <optional>
#include <string>

#include "dialog_fakes.h"
#include "fake_registry.h"
#include "fakes.h"
#include "forecast/record_codec.h"
#include "forms/program.h"
#include "main_form_rig.h"
#include "prefs/autostart.h"
#include "text/encoding.h"

namespace vt::test {

class ProgramRig : public MainFakes {
  public:
    ProgramRig() {
        profile.journal = &journal;
        files.journal = &journal;
        tray.journal = &journal;
        view.journal = &journal;
        jobs.journal = &journal;
        registry.shared = &journal;
        prefsView.journal = &journal;
        aboutView.journal = &journal;
        registry.At(RegistryRoot::LocalMachine, kRunKey);
        registry.At(RegistryRoot::CurrentUser, kRunKey);
        clock.now = {2007, 12, 15, 9, 0, 0, 0};
    }
    ProgramRig(const ProgramRig&) = delete;
    ProgramRig& operator=(const ProgramRig&) = delete;

    Program& Start() {
        program_.emplace(ProgramPorts{Ports(), prefsView, aboutView, registry});
        program_->main.FormCreate();
        program_->CreateDialogs();
        return *program_;
    }

    Program& P() { return *program_; }
    TForm1& Main() { return program_->main; }
    TForm2& Prefs() { return program_->preferences; }
    TForm3& About() { return program_->about; }
    TTraySettings& S() { return program_->main.Settings; }

    std::string Path(const std::string& name) const { return system.folder + name; }

    // A forecast written two hours ago, fresh for the schedule.
    void StoreForecast(const std::string& townIndex) {
        files.files[Path(townIndex + ".txt")] = {
            EncodeMaskedValue(210093019060280) + "\r\n" + EncodeMaskedValue(495964969608228),
            {2007, 12, 15, 7, 0, 0, 0},
            false,
            false};
    }
    // The town list as the service writes it: code page 1251.
    void StoreTownList(const std::string& utf8, const std::string& base = kTownListFileBase) {
        files.files[Path(base + ".txt")] = {Utf8ToCp1251(utf8), clock.now, false, false};
    }

    // Completes the job launched as number n (0 = first) with the outcome.
    void Finish(std::size_t n, const JobOutcome& outcome) {
        Main().WorkerFinished(jobs.tokens.at(n), outcome);
    }
    static JobOutcome Outcome(int lastJob, bool ok) {
        JobOutcome o;
        o.lastJob = lastJob;
        o.ok = ok;
        return o;
    }

    Journal journal;
    FakeRegistry registry;
    FakePrefsView prefsView;
    FakeAboutView aboutView;

  private:
    std::optional<Program> program_;
};

}  // namespace vt::test
