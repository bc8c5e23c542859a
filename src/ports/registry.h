// The registry as the autostart entry needs it: one key at a time, closed when its object goes.
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace vt {

enum class RegistryRoot { LocalMachine, CurrentUser };

struct RegistryValue {
    bool isString = false;  // REG_SZ or REG_EXPAND_SZ
    std::string data;       // UTF-8; empty unless isString
};

class RegistryKey {
  public:
    virtual ~RegistryKey() = default;  // closes the key
    // Nullopt when the value is absent.
    virtual std::optional<RegistryValue> Query(const std::string& name) = 0;
    // Writes a REG_SZ value (the stored size includes the terminating NUL).
    virtual bool SetString(const std::string& name, const std::string& data) = 0;
    virtual bool Delete(const std::string& name) = 0;
    virtual void Flush() = 0;
};

class Registry {
  public:
    virtual ~Registry() = default;
    // Opens an existing key (never creates it): with full access when forWriting, read-only
    // otherwise. Null when it cannot be opened so.
    virtual std::unique_ptr<RegistryKey> Open(RegistryRoot root, const std::string& subKey,
                                              bool forWriting) = 0;
};

}  // namespace vt
