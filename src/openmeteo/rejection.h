#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace vt {

// Why an answer was refused: the field ("hourly.relative_humidity_2m[5]") and what is wrong.
struct Rejection {
    std::string field;
    std::string reason;
};

// The parts one after another, for messages: one call where a chain of + would inline each step.
std::string Cat(std::initializer_list<std::string_view> parts);

}  // namespace vt
