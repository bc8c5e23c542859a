// The controller wired to fakes of every port.
#pragma once

#include <optional>

#include "app/main_form.h"
#include "fakes.h"

namespace vt::test {

class MainFormRig {
  public:
    TForm1& Start() {
        form_.emplace(
            MainPorts{profile, files, clock, random, system, dayNames, tray, view, jobs, desktop});
        form_->FormCreate();
        return *form_;
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

  private:
    std::optional<TForm1> form_;
};

}  // namespace vt::test
