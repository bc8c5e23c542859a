// A registry in memory that journals every operation, opens and closes included, so a test can
// check the order of effects and that no key is left open.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "journal.h"
#include "ports/registry.h"

namespace vt::test {

class FakeRegistry : public Registry {
  public:
    struct Key {
        bool writable = true;  // false: only a read-only open succeeds
        bool failSet = false;  // SetString fails although the key is open for writing
        std::map<std::string, RegistryValue> values;
    };

    Key& At(RegistryRoot root, const std::string& subKey) { return keys[{root, subKey}]; }

    std::unique_ptr<RegistryKey> Open(RegistryRoot root, const std::string& subKey,
                                      bool forWriting) override {
        const std::string name = root == RegistryRoot::LocalMachine ? "HKLM" : "HKCU";
        const std::string what = name + (forWriting ? " open write" : " open read");
        auto it = keys.find({root, subKey});
        if (it == keys.end() || (forWriting && !it->second.writable)) {
            Log(what + " failed");
            return nullptr;
        }
        Log(what);
        ++openKeys;
        return std::make_unique<OpenKey>(*this, name, it->second, forWriting);
    }

    std::optional<std::string> Data(RegistryRoot root, const std::string& subKey,
                                    const std::string& name) const {
        auto it = keys.find({root, subKey});
        if (it == keys.end() || !it->second.values.count(name)) return std::nullopt;
        return it->second.values.at(name).data;
    }

    std::map<std::pair<RegistryRoot, std::string>, Key> keys;
    std::vector<std::string> journal;
    int openKeys = 0;
    Journal* shared = nullptr;  // also records every operation there, as "registry: ..."

  private:
    void Log(const std::string& what) {
        journal.push_back(what);
        Note(shared, "registry: " + what);
    }

    class OpenKey : public RegistryKey {
      public:
        OpenKey(FakeRegistry& owner, std::string root, Key& key, bool writable)
            : owner_(owner), root_(std::move(root)), key_(key), writable_(writable) {}
        ~OpenKey() override {
            Log("close");
            --owner_.openKeys;
        }
        std::optional<RegistryValue> Query(const std::string& name) override {
            Log("query " + name);
            auto it = key_.values.find(name);
            if (it == key_.values.end()) return std::nullopt;
            return it->second;
        }
        bool SetString(const std::string& name, const std::string& data) override {
            if (!writable_ || key_.failSet) {
                Log("set " + name + " failed");
                return false;
            }
            Log("set " + name + "=" + data);
            key_.values[name] = {true, data};
            return true;
        }
        bool Delete(const std::string& name) override {
            Log("delete " + name);
            return writable_ && key_.values.erase(name) > 0;
        }
        void Flush() override { Log("flush"); }

      private:
        void Log(const std::string& what) { owner_.Log(root_ + " " + what); }
        FakeRegistry& owner_;
        std::string root_;
        Key& key_;
        bool writable_;
    };
};

}  // namespace vt::test
