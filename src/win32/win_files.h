#pragma once

#include "ports/files.h"

namespace vt {

class WinFiles : public Files {
  public:
    bool Exists(const std::string& path) override;
    std::unique_ptr<OpenFile> OpenExclusive(const std::string& path) override;
    std::optional<std::string> ReadAll(const std::string& path) override;
    bool Replace(const std::string& path, std::string_view bytes) override;
};

}  // namespace vt
