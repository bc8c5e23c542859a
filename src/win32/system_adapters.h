// Small adapters of the ports to the system: clock, random source, version, folder, day names.
#pragma once

#include <random>

#include "ports/clock.h"
#include "ports/day_names.h"
#include "ports/random.h"
#include "ports/system_info.h"

namespace vt {

class SystemClock : public Clock {
  public:
    UtcTime NowUtc() const override;
};

class SystemRandom : public Random {
  public:
    void Reseed() override;
    int Draw(int range) override;

  private:
    std::mt19937 engine_;
};

class WinSystemInfo : public SystemInfo {
  public:
    int WindowsMajorVersion() override;
    std::string DataFolder() override;
    std::string ProgramPath() override;
};

class RegionalDayNames : public DayNames {
  public:
    std::string Abbreviated(int dayOfWeek) const override;
};

}  // namespace vt
