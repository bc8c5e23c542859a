// Errors raised inside an event handler and shown by the top-level error handler.
#pragma once

#include <stdexcept>
#include <string>

namespace vt {

class HandlerError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class SettingsWriteError : public HandlerError {
  public:
    explicit SettingsWriteError(const std::string& path)
        : HandlerError("Unable to write to " + path) {}
};

}  // namespace vt
