#include "click_counter.h"

#include "json_text.h"

namespace vts {

void ClickCounter::Count(const std::string& kind, const std::string& target) {
    std::lock_guard lock(mutex_);
    ++counts_[{kind, target}];
}

int ClickCounter::CountOf(const std::string& kind, const std::string& target) const {
    std::lock_guard lock(mutex_);
    const auto it = counts_.find({kind, target});
    return it == counts_.end() ? 0 : it->second;
}

std::string ClickCounter::Json() const {
    std::lock_guard lock(mutex_);
    std::string json = "{\"counts\":[";
    bool first = true;
    for (const auto& [key, count] : counts_) {
        if (!first) json += ',';
        first = false;
        json += "{\"kind\":" + JsonString(key.first) + ",\"target\":" + JsonString(key.second) +
                ",\"count\":" + std::to_string(count) + "}";
    }
    json += "]}\n";
    return json;
}

}  // namespace vts
