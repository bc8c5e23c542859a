#include "openmeteo/rejection.h"

namespace vt {

std::string Cat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts) text += part;
    return text;
}

}  // namespace vt
