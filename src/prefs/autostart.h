// The autostart entry: a string value in a Run key of the registry that starts the program at
// logon.
#pragma once

#include <string>

#include "app/errors.h"

namespace vt {

class Registry;

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValueName = "VantorelTray";

class AutostartError : public HandlerError {
  public:
    using HandlerError::HandlerError;
};

// The data of the Run value for the program file at programPath: the path itself, in double
// quotes when it holds a blank (so that Windows cannot start "C:\Program.exe" instead).
std::string RunValueData(const std::string& programPath);

// Brings the Run value in line with autoload ("true" or "false"; anything else changes nothing).
// The machine-wide key is used where it can be written; otherwise the user's own Run key,
// unless the machine-wide one already starts this program. Throws AutostartError with
// "Failed to set data for 'VantorelTray'" or "Invalid data type for 'VantorelTray'". Every key
// opened is closed again, also after an error.
void UpdateAutostart(Registry& registry, const std::string& autoload,
                     const std::string& programPath);

}  // namespace vt
