#pragma once

#include <string>
#include <string_view>

namespace vt {

// The settings file. Values are UTF-8 here; the adapter stores them in code page 1251.
class Profile {
  public:
    virtual ~Profile() = default;
    // The value, or an empty string when the key or section is absent.
    virtual std::string Read(std::string_view section, std::string_view key) = 0;
    // False when the file could not be written; it then holds what it held before.
    virtual bool Write(std::string_view section, std::string_view key, std::string_view value) = 0;
    // The writes between the two calls reach the file together at CommitWrites, or none does;
    // until then Write only records them and reports success.
    virtual void BeginWrites() {}
    virtual bool CommitWrites() { return true; }
};

}  // namespace vt
