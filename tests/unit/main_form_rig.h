// The controller wired to fakes of every port.
#pragma once

#include <optional>

#include "fakes.h"
#include "forms/main_form.h"

namespace vt::test {

// The fakes of the main form's ports.
struct MainFakes {
    // The tests of the protocol's flows name their source, as every test folder does.
    MainFakes() { profile.Set("service", "source", "service"); }

    MainPorts Ports() {
        return MainPorts{profile,  files, clock, random, system,
                         dayNames, tray,  view,  jobs,   desktop};
    }

    FakeProfile profile;
    FakeFiles files;
    FakeClock clock;
    FakeRandom random;
    FakeSystemInfo system;
    RussianTestDayNames dayNames;
    FakeTray tray;
    FakeView view;
    FakeJobs jobs;
    FakeDesktop desktop;
};

class MainFormRig : public MainFakes {
  public:
    TForm1& Start() {
        form_.emplace(Ports());
        form_->FormCreate();
        return *form_;
    }

  private:
    std::optional<TForm1> form_;
};

}  // namespace vt::test
