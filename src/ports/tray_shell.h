// The notification-area icon as the shell sees it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/colour.h"

namespace vt {

inline constexpr std::uint32_t kWmTrayIcon = 0x7658;
inline constexpr std::uint32_t kTipFlags = 7;         // NIF_MESSAGE | NIF_ICON | NIF_TIP
inline constexpr std::uint32_t kBalloonFlags = 0x13;  // NIF_MESSAGE | NIF_ICON | NIF_INFO
inline constexpr std::uint32_t kInfoIcon = 1;         // NIIF_INFO
inline constexpr std::uint32_t kErrorIcon = 3;        // NIIF_ERROR
inline constexpr int kNeutralPicture = 9;             // the program's emblem
// The shell's limits of the record's texts, in characters.
inline constexpr std::size_t kTipChars = 127;
inline constexpr std::size_t kBalloonInfoChars = 255;
inline constexpr std::size_t kBalloonTitleChars = 63;

// The fields of the one notify-icon record kept for the whole run. Fields a display does not
// set keep what the previous display left. Texts are UTF-8, already cut to their limits.
struct TrayData {
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::string szTip;
    std::string szInfo;
    std::uint32_t uTimeout = 0;
    std::string szInfoTitle;
    std::uint32_t dwInfoFlags = 0;
};

// Which picture the icon shows: one of the weather pictures, or drawn temperature digits.
struct TrayIconImage {
    bool drawTemperature = false;
    int picture = kNeutralPicture;  // 0..11
    bool lightStyle = false;
    std::string temperatureText;
    Colour colour = kClBlack;
    bool operator==(const TrayIconImage&) const = default;
};

enum class TrayMessage { Add, Modify };

class TrayShell {
  public:
    virtual ~TrayShell() = default;
    // False when the shell refused the request.
    virtual bool Notify(TrayMessage message, const TrayData& data, const TrayIconImage& image) = 0;
    virtual void Remove() = 0;
};

}  // namespace vt
