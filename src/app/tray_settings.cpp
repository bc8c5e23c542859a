#include "app/tray_settings.h"

#include "app/update_times.h"
#include "common/errors.h"
#include "ports/profile.h"

namespace vt {
namespace {

constexpr const char* kFrc = "frc";
constexpr const char* kSection = "settings";

// Collects the start-up's writes and commits them together, so that a kill or a full disk
// leaves the old file or the new one, never a part of either.
class StartupWriter {
  public:
    StartupWriter(Profile& profile, std::string path) : profile_(profile), path_(std::move(path)) {
        profile_.BeginWrites();
    }

    void Write(const char* section, const char* key, const std::string& value) {
        if (failure_) return;
        if (!profile_.Write(section, key, value)) failure_ = SettingsWriteError(path_).what();
    }

    std::optional<std::string> Commit() {
        if (!profile_.CommitWrites() && !failure_) failure_ = SettingsWriteError(path_).what();
        return failure_;
    }

  private:
    Profile& profile_;
    std::string path_;
    std::optional<std::string> failure_;
};

}  // namespace

std::string SettingsFilePath(const std::string& progDir) {
    const bool endsWithSeparator = !progDir.empty() && progDir.back() == '\\';
    return progDir + (endsWithSeparator ? "" : "\\") + kSettingsFileName;
}

std::optional<std::string> ReadSettings(TTraySettings& s, Profile& profile,
                                        const std::string& progDir, Random& random) {
    s.progDir = progDir;
    StartupWriter writer(profile, SettingsFilePath(progDir));

    s.frctime = profile.Read(kFrc, "frctime");
    if (s.frctime.empty()) {
        s.frctime = kDefaultHours;
        writer.Write(kFrc, "frctime", s.frctime);
    }

    s.updateTimes = BuildUpdateTimes(s.frctime, random);
    writer.Write(kFrc, "frcNewtime", s.updateTimes);

    // Written by OK alone, and only for the embedded source.
    s.frcTownLatitude = profile.Read(kFrc, "frcTownLatitude");
    s.frcTownLongitude = profile.Read(kFrc, "frcTownLongitude");

    struct Key {
        const char* section;
        const char* name;
        const char* fallback;
        std::string TTraySettings::*field;
    };
    static const Key kKeys[] = {
        {kFrc, "frcTownIndex", kDefaultTownIndex, &TTraySettings::frcTownIndex},
        {kFrc, "frcTownName", kDefaultTownName, &TTraySettings::frcTownName},
        {kFrc, "frcCountryName", kDefaultCountryName, &TTraySettings::frcCountryName},
        {kSection, "breakBaloonCheked", kBalloon10Seconds, &TTraySettings::breakBaloonCheked},
        {kSection, "viewFrcCheked", kSpanDayAndNight, &TTraySettings::viewFrcCheked},
        {kSection, "picOnIconStyle", kDarkStyle, &TTraySettings::picOnIconStyle},
        {kSection, "viewIconCheked", kIconPictures, &TTraySettings::viewIconCheked},
        {kSection, "autoloadChecked", kAutoloadOn, &TTraySettings::autoloadChecked},
        {kSection, "stateConnectChecked", kConnectSystemSettings,
         &TTraySettings::stateConnectChecked},
        {kSection, "Proxyserver", "", &TTraySettings::ProxyServer},
        {kSection, "ProxyPort", "", &TTraySettings::ProxyPort},
        {kSection, "userProxy", "", &TTraySettings::userProxy},
        {kSection, "passwdproxy", "", &TTraySettings::passwdProxy},
    };
    for (const Key& key : kKeys) {
        std::string value = profile.Read(key.section, key.name);
        if (value.empty()) {
            value = key.fallback;
            writer.Write(key.section, key.name, value);
        }
        s.*key.field = std::move(value);
    }

    if (auto colour = ColourFromString(profile.Read(kSection, "viewIconColor"))) {
        s.viewIconColor = *colour;
    } else {
        s.viewIconColor = kClBlack;
        writer.Write(kSection, "viewIconColor", ColourToString(kClBlack));
    }

    s.balloonRequested = false;
    return writer.Commit();
}

void SaveSettings(const TTraySettings& s, Profile& profile, bool withPlace) {
    const std::string path = SettingsFilePath(s.progDir);
    const bool placeStored = !profile.Read(kFrc, "frcTownLatitude").empty() ||
                             !profile.Read(kFrc, "frcTownLongitude").empty();
    profile.BeginWrites();
    bool ok = true;
    auto write = [&](const char* section, const char* key, const std::string& value) {
        ok = ok && profile.Write(section, key, value);
    };
    write(kFrc, "frcTownName", s.frcTownName);
    write(kFrc, "frcTownIndex", s.frcTownIndex);
    write(kFrc, "frcCountryName", s.frcCountryName);
    if (withPlace || placeStored) {
        write(kFrc, "frcTownLatitude", withPlace ? s.frcTownLatitude : "");
        write(kFrc, "frcTownLongitude", withPlace ? s.frcTownLongitude : "");
    }
    write(kSection, "viewFrcCheked", s.viewFrcCheked);
    write(kSection, "viewIconCheked", s.viewIconCheked);
    write(kSection, "breakBaloonCheked", s.breakBaloonCheked);
    write(kSection, "autoloadChecked", s.autoloadChecked);
    write(kSection, "stateConnectChecked", s.stateConnectChecked);
    write(kSection, "ProxyServer", s.ProxyServer);
    write(kSection, "ProxyPort", s.ProxyPort);
    write(kSection, "userProxy", s.userProxy);
    write(kSection, "passwdProxy", s.passwdProxy);
    if (s.viewIconCheked == kIconTemperature) {
        write(kSection, "viewIconColor", ColourToString(s.viewIconColor));
    } else if (s.viewIconCheked == kIconPictures) {
        write(kSection, "picOnIconStyle", s.picOnIconStyle);
    }
    // Committed even after a failed write, so that no half-made batch is left behind.
    if (!profile.CommitWrites() || !ok) throw SettingsWriteError(path);
}

}  // namespace vt
