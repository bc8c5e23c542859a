#include "forecast/russian_day_names.h"

namespace vt {

std::string RussianDayNames::Abbreviated(int dayOfWeek) const {
    static constexpr const char* kNames[7] = {"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"};
    if (dayOfWeek < 0 || dayOfWeek > 6) return {};
    return kNames[dayOfWeek];
}

}  // namespace vt
