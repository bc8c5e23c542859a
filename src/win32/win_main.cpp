#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "win32/main_window.h"
#include "win32/single_instance.h"
#include "win32/system_adapters.h"
#include "win32/wide.h"
#include "win32/win_files.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Before anything reads or writes a file: a second start in this folder only wakes the
    // first one.
    const std::wstring folder = vt::Wide(vt::WinSystemInfo().DataFolder());
    const vt::SingleInstance holder(folder);
    if (!holder.First()) {
        holder.WakeFirst();
        return 0;
    }
    vt::RemoveStaleTemporaries(folder);

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    auto mainWindow = vt::MainWindow::Create(instance, holder);
    if (!mainWindow) return 1;

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (mainWindow->PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // A download still running is not waited for: returning ends the process and its threads.
    return 0;
}
