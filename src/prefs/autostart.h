// The autostart entry: a string value in a Run key of the registry that starts the program at
// logon.
#pragma once

#include <string>

#include "common/errors.h"

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

// What the settings ask of the Run value; Unchanged only checks the machine-wide value's type.
enum class Autostart { On, Off, Unchanged };

// Brings the Run value in line with autostart. On writes the machine-wide key where it can be
// written, and then removes our value from the user's own Run key, where an earlier run under
// fewer rights may have left it (two entries would start the program twice); otherwise the
// user's key is written, unless the machine-wide one already starts this program. Off removes
// the value from every key that opens for writing. Throws AutostartError with "Failed to set
// data for 'VantorelTray'" or "Invalid data type for 'VantorelTray'". Every key opened is
// closed again, also after an error.
void UpdateAutostart(Registry& registry, Autostart autostart, const std::string& programPath);

}  // namespace vt
