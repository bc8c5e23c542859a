// The click counter behind /r.php: how often each kind ("sh" downloads, "cl" menu clicks) was
// asked for each target address.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace vts {

class ClickCounter {
  public:
    void Count(const std::string& kind, const std::string& target);
    int CountOf(const std::string& kind, const std::string& target) const;
    // {"counts":[{"kind":"sh","target":"http://...","count":2},...]}, sorted by kind, target.
    std::string Json() const;

  private:
    mutable std::mutex mutex_;
    std::map<std::pair<std::string, std::string>, int> counts_;
};

}  // namespace vts
