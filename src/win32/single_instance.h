// One running program per program folder: the settings file and the forecasts beside the
// program have one writer. Copies in other folders run side by side.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "win32/handles.h"

namespace vt {

// The same for every spelling of one folder's path (Windows compares paths without case).
std::uint64_t FolderKey(const std::wstring& folder);

class SingleInstance {
  public:
    explicit SingleInstance(const std::wstring& folder);
    // False when another start in this folder holds the folder.
    bool First() const { return first_; }
    // Asks the instance that holds the folder to show its balloon, waiting a few seconds for
    // its window when both started at the same moment. False when none answered.
    bool WakeFirst() const;
    // True when a window procedure's message is such a request for this folder; the window
    // then returns kWakeAnswer.
    bool IsWakeRequest(UINT message, WPARAM wParam, LPARAM lParam) const;

    static constexpr LRESULT kWakeAnswer = 0x5654;

  private:
    std::uint64_t key_;
    UINT wakeMessage_;
    UniqueKernelObject mutex_;
    bool first_ = true;
};

}  // namespace vt
