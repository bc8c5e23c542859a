#include "prefs/autostart.h"

#include <memory>
#include <optional>

#include "ports/registry.h"

namespace vt {
namespace {

[[noreturn]] void ThrowFailedToSet() {
    throw AutostartError(std::string("Failed to set data for '") + kRunValueName + "'");
}

// The current data; an absent value reads as empty. Anything but a string is refused before
// the key is touched.
std::string ReadRunValue(RegistryKey& key) {
    const std::optional<RegistryValue> value = key.Query(kRunValueName);
    if (!value) return {};
    if (!value->isString) {
        throw AutostartError(std::string("Invalid data type for '") + kRunValueName + "'");
    }
    return value->data;
}

// Flushed here, so the change is on disk before the caller's key object closes it.
void BringInLine(RegistryKey& key, Autostart autostart, const std::string& data) {
    const std::string current = ReadRunValue(key);
    if (autostart == Autostart::On && !key.SetString(kRunValueName, data)) ThrowFailedToSet();
    // A value with empty data is left alone.
    if (autostart == Autostart::Off && !current.empty()) key.Delete(kRunValueName);
    key.Flush();
}

std::unique_ptr<RegistryKey> OpenRunKey(Registry& registry, RegistryRoot root, bool forWriting) {
    return registry.Open(root, kRunKey, forWriting);
}

bool MachineKeyStarts(Registry& registry, const std::string& data) {
    const auto key = OpenRunKey(registry, RegistryRoot::LocalMachine, false);
    if (!key) return false;
    const std::optional<RegistryValue> value = key->Query(kRunValueName);
    return value && value->isString && value->data == data;
}

}  // namespace

std::string RunValueData(const std::string& programPath) {
    if (programPath.find(' ') == std::string::npos) return programPath;
    return "\"" + programPath + "\"";
}

void UpdateAutostart(Registry& registry, Autostart autostart, const std::string& programPath) {
    const std::string data = RunValueData(programPath);
    if (autostart == Autostart::On) {
        if (auto key = OpenRunKey(registry, RegistryRoot::LocalMachine, true)) {
            BringInLine(*key, Autostart::On, data);
            key.reset();
            if (auto user = OpenRunKey(registry, RegistryRoot::CurrentUser, true)) {
                BringInLine(*user, Autostart::Off, data);
            }
            return;
        }
        // No write access to the machine-wide key: when it already starts this program, a
        // second entry would start it twice; otherwise the user's own Run key does the job.
        if (MachineKeyStarts(registry, data)) return;
        auto key = OpenRunKey(registry, RegistryRoot::CurrentUser, true);
        if (!key) ThrowFailedToSet();
        BringInLine(*key, Autostart::On, data);
    } else if (autostart == Autostart::Off) {
        // Either key may hold an entry from an earlier run under other rights.
        for (RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser}) {
            if (auto key = OpenRunKey(registry, root, true))
                BringInLine(*key, Autostart::Off, data);
        }
    } else if (auto key = OpenRunKey(registry, RegistryRoot::LocalMachine, true)) {
        ReadRunValue(*key);
    }
}

}  // namespace vt
