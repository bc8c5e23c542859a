#pragma once

#include <string>

namespace vt {

class SystemInfo {
  public:
    virtual ~SystemInfo() = default;
    virtual int WindowsMajorVersion() = 0;
    // The folder of the running program file, ending with a backslash (UTF-8).
    virtual std::string ProgramFolder() = 0;
    // The full path of the running program file (UTF-8).
    virtual std::string ProgramPath() = 0;
};

}  // namespace vt
