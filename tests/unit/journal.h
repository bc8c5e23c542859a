// One record of effects shared by the fakes, so a test can check their order across ports.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vt::test {

class Journal {
  public:
    void Add(std::string entry) { entries.push_back(std::move(entry)); }
    void Clear() { entries.clear(); }

    // The entries that begin with prefix, in order.
    std::vector<std::string> With(std::string_view prefix) const {
        std::vector<std::string> found;
        for (const std::string& e : entries) {
            if (e.rfind(prefix, 0) == 0) found.push_back(e);
        }
        return found;
    }

    bool Has(std::string_view entry) const {
        return std::find(entries.begin(), entries.end(), entry) != entries.end();
    }

    std::vector<std::string> entries;
};

// The fakes journal only when given a journal.
inline void Note(Journal* journal, std::string entry) {
    if (journal) journal->Add(std::move(entry));
}

}  // namespace vt::test
