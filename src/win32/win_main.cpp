#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "win32/main_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);

    auto mainWindow = vt::MainWindow::Create(instance);
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
