#pragma once

#include <string>

namespace vt {

class SystemInfo {
  public:
    virtual ~SystemInfo() = default;
    virtual int WindowsMajorVersion() = 0;
    // The folder of the running program file, ending with a backslash (UTF-8).
    virtual std::string ProgramFolder() = 0;
};

}  // namespace vt
