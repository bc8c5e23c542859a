// The fixed texts of the forecast for the tray and the menu. Limits count characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "ports/tray_shell.h"

namespace vt {

inline constexpr const char* kFileAccessError = "Ошибка в доступе к файлу с прогнозом";
inline constexpr const char* kEmptyFileError = "Пустой файл с прогнозом";
inline constexpr const char* kInvalidDataText = "Файл с прогнозом содержит недопустимые данные";
inline constexpr const char* kInvalidDataLongText =
    "Файл с прогнозом содержит недопустимые данные. Возможно неправильно настроено соединение с "
    "Internet";

inline constexpr const char* kClickTooltip = "Vantorel: Щелкните для просмотра прогноза погоды";

// "Vantorel: Прогноз погоды. " and the town, cut to 63 characters.
std::string BalloonTitle(std::string_view townName);

// The tooltip of Windows 4, which has no balloons: town, ": ", shortText, cut to 127.
std::string ShortTooltip(std::string_view townName, std::string_view shortText);

// trayText as the balloon shows it, cut to 255.
std::string BalloonText(std::string_view trayText);

// trayText as the tooltip shows it, cut to 127.
std::string TooltipText(std::string_view trayText);

// The caption of the menu item Frc: at start-up without a blank before the town, after a load
// with one.
std::string FrcCaptionAtStartup(std::string_view townName);
std::string FrcCaptionAfterLoad(std::string_view townName);

}  // namespace vt
