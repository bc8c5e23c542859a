// The records the forecast decoder fills and the tray reads.
#pragma once

#include <cstdint>
#include <string>

#include "common/calendar.h"

namespace vt {

// One decoded forecast line.
struct ForecastRecord {
    int period = 0;  // 0 morning, 1 day, 2 evening, 3 night
    CivilDate date;
    int sky = 0;  // 1..9
    int temperature = 0;
    int pressure = 0;
    int humidity = 0;
    int windDirection = 0;  // 0 north, clockwise in steps of 45 degrees
    int windSpeed = 0;
    bool operator==(const ForecastRecord&) const = default;
};

// The display states kept in TFrcBaloonAndIcon::trayState.
inline constexpr const char* kStateFormCreate = "FormCreate";
inline constexpr const char* kStatePrognoz = "Prognoz";
inline constexpr const char* kStateError = "Error";
inline constexpr const char* kStatePref = "pref";

// What the tray shows. Texts are UTF-8.
struct TFrcBaloonAndIcon {
    std::string trayText;
    std::string firstText;
    std::string secondText;
    std::string iconTempText;
    std::int32_t iconPicture = 0;
    std::string trayState;
    std::string shortText;
    // True while iconPicture was set by a day-period record since start or the last failure;
    // otherwise the tray shows the neutral picture instead of a weather picture nobody asked for.
    bool iconPictureFromRecord = false;
};

}  // namespace vt
