// Errors raised inside an event handler and shown by the top-level error handler.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace vt {

// Holds its text itself rather than deriving from std::runtime_error, whose reference-counted
// string pulls a second implementation of std::string into the static executable.
class HandlerError : public std::exception {
  public:
    explicit HandlerError(std::string text) : text_(std::move(text)) {}
    const char* what() const noexcept override { return text_.c_str(); }

  private:
    std::string text_;
};

class SettingsWriteError : public HandlerError {
  public:
    explicit SettingsWriteError(const std::string& path)
        : HandlerError("Unable to write to " + path) {}
};

}  // namespace vt
