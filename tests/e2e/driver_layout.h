// What the test driver checks of a dialog against the table it was built from.
#pragma once

#include <string>
#include <vector>

#include "driver_windows.h"

namespace e2e {

// Every control of the table where the table puts it at the DPI, inside its logical parent,
// each caption within its control; prints each failure and their count. True when there is
// none.
bool CheckLayout(const Dialog& dialog, int dpi);

// The names of the controls the Tab key visits, in the order the table gives: only the shown
// and enabled ones, the checked radio button of each group, the tab control after its pages.
std::vector<std::string> TabOrder(const Dialog& dialog);

}  // namespace e2e
