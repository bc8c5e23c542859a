#pragma once

#include <string>

namespace vt {

class SystemInfo {
  public:
    virtual ~SystemInfo() = default;
    virtual int WindowsMajorVersion() = 0;
    // The folder of the settings and the stored files, ending with a backslash (UTF-8): the
    // program's own where it can be written, else one of the user's.
    virtual std::string DataFolder() = 0;
    // The full path of the running program file (UTF-8).
    virtual std::string ProgramPath() = 0;
};

}  // namespace vt
