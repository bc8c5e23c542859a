// How the test driver finds the program's windows and the controls of its two dialogs, and
// reads their text from outside the program's process.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "win32/dialog_layout.h"

namespace e2e {

HWND MainWindow();
HWND WaitForMainWindow(int timeoutMs);
int CountMainWindows();

// A shown dialog of that title, the program's own or a message box: the program's own dialogs
// exist hidden all the time.
HWND VisibleDialog(const wchar_t* title);
HWND WaitForVisibleDialog(const wchar_t* title, int timeoutMs);
int CountVisibleDialogs(const wchar_t* title);

// One of the program's own dialogs (not a message box of the same title), shown or hidden,
// with the table it was built from.
struct Dialog {
    HWND hwnd = nullptr;
    std::span<const vt::ControlSpec> table;
    explicit operator bool() const { return hwnd != nullptr; }
};
Dialog FindDialog(const wchar_t* title);

// A control anywhere inside the dialog (also on its pages), by id or by its name in the table.
HWND ControlOf(HWND dialog, int id);
const vt::ControlSpec* SpecNamed(const Dialog& dialog, const std::wstring& name);
const vt::ControlSpec* SpecOf(const Dialog& dialog, int id);

// WM_GETTEXT, not GetWindowText: for another process's window that returns only the caption
// it was created with, never what a combo box's edit field shows now.
std::wstring TextOf(HWND hwnd);

// The control of the dialog's thread that has the keyboard focus; a combo box's edit field
// stands for the box.
HWND FocusedControl(HWND dialog);

HWND VisibleBalloon();
// Prints the balloon's text; false when it cannot be read.
bool PrintBalloon(HWND balloon);

}  // namespace e2e
