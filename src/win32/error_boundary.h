// The top-level error handler: nothing escapes a window procedure; an error raised by an event
// handler ends that handler and its text is shown in a message box.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace vt {

void ShowErrorBox(HWND owner, const std::string& text);

// Runs handler() and returns its result, or fallback after showing what it raised.
template <typename Handler>
LRESULT Guarded(HWND owner, LRESULT fallback, Handler&& handler) noexcept {
    try {
        return handler();
    } catch (const std::exception& e) {
        ShowErrorBox(owner, e.what());
    } catch (...) {
        ShowErrorBox(owner, "Внутренняя ошибка программы");
    }
    return fallback;
}

}  // namespace vt
