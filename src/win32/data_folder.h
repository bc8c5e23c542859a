// Where the settings and the stored files live: the program's own folder wherever it may write
// there. Where it may not (a standard user with the program under Program Files), a folder of
// the user's own, %LOCALAPPDATA%\Vantorel.Tray\, which takes a copy of the settings file found
// beside the program.
#pragma once

#include <string>

namespace vt {

inline constexpr const char* kUserDataFolderName = "Vantorel.Tray";

struct DataFolder {
    std::string path;      // UTF-8, ends with a backslash
    bool madeNow = false;  // the user's folder was made by this start: the user is told where
};

// programFolder ends with a backslash; localAppData is the user's folder, empty when unknown.
// The program folder stays where it can be written, or where no other folder can be made.
DataFolder ChooseDataFolder(const std::wstring& programFolder, const std::wstring& localAppData);

// Chosen at the first call, for the whole run.
const DataFolder& TheDataFolder();

}  // namespace vt
