#pragma once

#include "common/calendar.h"

namespace vt {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual UtcTime NowUtc() const = 0;
};

}  // namespace vt
