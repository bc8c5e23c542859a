#pragma once

#include <string>

namespace vt {

// Why an answer was refused: the field ("hourly.relative_humidity_2m[5]") and what is wrong.
struct Rejection {
    std::string field;
    std::string reason;
};

}  // namespace vt
