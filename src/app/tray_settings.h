// The settings record and the settings file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/colour.h"
#include "download/fetch_url.h"
#include "prefs/autostart.h"

namespace vt {

class Profile;
class Random;

inline constexpr const char* kSettingsFileName = "vantoreltray.ini";
inline constexpr const char* kDefaultTownIndex = "27612";
inline constexpr const char* kDefaultTownName = "Москва";
inline constexpr const char* kDefaultCountryName = "Россия";
inline constexpr const char* kSpanDayAndNight = "День+ночь";
inline constexpr const char* kSpanDay = "День";
inline constexpr const char* kIconPictures = "Облачность и осадки";
inline constexpr const char* kIconTemperature = "Температура";
inline constexpr const char* kLightStyle = "0";
inline constexpr const char* kDarkStyle = "1";
inline constexpr const char* kBalloon10Seconds = "10";
inline constexpr const char* kBalloon15Seconds = "15";
inline constexpr const char* kBalloon20Seconds = "20";
inline constexpr const char* kAutoloadOn = "true";
inline constexpr const char* kAutoloadOff = "false";
inline constexpr const char* kConnectDirect = "1";
inline constexpr const char* kConnectSystemSettings = "2";
inline constexpr const char* kConnectProxy = "3";

// What the settings' texts decide; only these exact spellings count.
inline bool ReadsTwoRecords(std::string_view viewFrcCheked) {
    return viewFrcCheked == kSpanDayAndNight;
}
inline Autostart AutostartOf(std::string_view autoloadChecked) {
    if (autoloadChecked == kAutoloadOn) return Autostart::On;
    if (autoloadChecked == kAutoloadOff) return Autostart::Off;
    return Autostart::Unchanged;
}
inline ConnectionMode ConnectionModeOf(std::string_view stateConnectChecked) {
    if (stateConnectChecked == kConnectDirect) return ConnectionMode::Direct;
    if (stateConnectChecked == kConnectSystemSettings) return ConnectionMode::SystemSettings;
    if (stateConnectChecked == kConnectProxy) return ConnectionMode::Proxy;
    return ConnectionMode::Unknown;
}
inline bool ShowsTemperature(std::string_view viewIconCheked) {
    return viewIconCheked == kIconTemperature;
}
inline bool UsesLightPictures(std::string_view picOnIconStyle) {
    return picOnIconStyle == kLightStyle;
}

struct TTraySettings {
    std::string frctime;
    std::string updateTimes;
    std::string frcTownIndex;
    std::string frcTownName;
    std::string frcCountryName;
    // The town's place for the embedded source, as text; absent for other sources.
    std::string frcTownLatitude;
    std::string frcTownLongitude;
    std::string breakBaloonCheked;
    std::string viewFrcCheked;
    std::string viewIconCheked;
    std::string picOnIconStyle;
    Colour viewIconColor = kClBlack;
    std::string autoloadChecked;
    std::string stateConnectChecked;
    std::string ProxyServer;
    std::string ProxyPort;
    std::string userProxy;
    std::string passwdProxy;
    std::string progDir;
    std::string frcFileBase;
    bool balloonRequested = false;
    std::string townListFileBase;
    std::int32_t winMajor = 0;
};

// progDir + "\" + the file name: the separator is doubled on purpose, the file functions
// read it as one.
std::string SettingsFilePath(const std::string& progDir);

// Loads every key, writing the default of each empty one. When a write fails, the remaining
// keys are still loaded and defaulted in memory, without further writes, and the message of
// the failure is returned so that start-up can show it once and go on.
std::optional<std::string> ReadSettings(TTraySettings& settings, Profile& profile,
                                        const std::string& progDir, Random& random);

// Writes the dialog's keys in their fixed order; throws SettingsWriteError at the first failure.
// withPlace (the open forecast API's OK): the town's coordinates too. Without it, coordinates a
// file already holds are emptied, since they no longer belong to its town; none are added.
void SaveSettings(const TTraySettings& settings, Profile& profile, bool withPlace = false);

}  // namespace vt
