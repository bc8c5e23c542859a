// The registry through the wide functions, so that a path with Cyrillic letters is stored as it is.
#pragma once

#include "ports/registry.h"

namespace vt {

class WinRegistry : public Registry {
  public:
    std::unique_ptr<RegistryKey> Open(RegistryRoot root, const std::string& subKey,
                                      bool forWriting) override;
};

}  // namespace vt
