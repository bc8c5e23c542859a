// Day names of Russian regional settings, for tests and tools that have no system to ask.
#pragma once

#include <string>

#include "ports/day_names.h"

namespace vt {

class RussianDayNames final : public DayNames {
  public:
    // "Вс" for 0 (Sunday) ... "Сб" for 6; empty outside.
    std::string Abbreviated(int dayOfWeek) const override;
};

}  // namespace vt
