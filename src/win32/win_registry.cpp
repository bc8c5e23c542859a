#include "win32/win_registry.h"

#include <windows.h>

#include "win32/handles.h"
#include "win32/wide.h"

namespace vt {
namespace {

class WinRegistryKey : public RegistryKey {
  public:
    explicit WinRegistryKey(HKEY key) : key_(key) {}

    std::optional<RegistryValue> Query(const std::string& name) override {
        const std::wstring wname = Wide(name);
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(key_.Get(), wname.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        RegistryValue value;
        value.isString = type == REG_SZ || type == REG_EXPAND_SZ;
        if (!value.isString || size == 0) return value;
        std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        if (RegQueryValueExW(key_.Get(), wname.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(data.data()), &got) != ERROR_SUCCESS) {
            return value;
        }
        data.resize(got / sizeof(wchar_t));
        // The stored data need not end with a NUL, or may hold several.
        data.resize(data.find(L'\0') == std::wstring::npos ? data.size() : data.find(L'\0'));
        value.data = Narrow(data);
        return value;
    }

    bool SetString(const std::string& name, const std::string& data) override {
        const std::wstring wdata = Wide(data);
        const auto bytes = static_cast<DWORD>((wdata.size() + 1) * sizeof(wchar_t));
        return RegSetValueExW(key_.Get(), Wide(name).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(wdata.c_str()), bytes) == ERROR_SUCCESS;
    }

    bool Delete(const std::string& name) override {
        return RegDeleteValueW(key_.Get(), Wide(name).c_str()) == ERROR_SUCCESS;
    }

    void Flush() override { RegFlushKey(key_.Get()); }

  private:
    UniqueRegKey key_;
};

}  // namespace

std::unique_ptr<RegistryKey> WinRegistry::Open(RegistryRoot root, const std::string& subKey,
                                               bool forWriting) {
    HKEY rootKey = root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    HKEY key = nullptr;
    if (RegOpenKeyExW(rootKey, Wide(subKey).c_str(), 0, forWriting ? KEY_ALL_ACCESS : KEY_READ,
                      &key) != ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<WinRegistryKey>(key);
}

}  // namespace vt
