#pragma once

#include <string>

namespace vt {

// The abbreviated day names of the user's regional settings (date format code "ddd").
class DayNames {
  public:
    virtual ~DayNames() = default;
    // dayOfWeek: 0 = Sunday ... 6 = Saturday. UTF-8.
    virtual std::string Abbreviated(int dayOfWeek) const = 0;
};

}  // namespace vt
