#include "app/profile_text.h"

#include <algorithm>

namespace vt {
namespace {

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return out;
}

}  // namespace

std::string ProfileEntryName(std::string_view section, std::string_view key) {
    return Lower(Trim(section)) + '\n' + Lower(Trim(key));
}

ProfileEntries ParseProfileText(std::string_view bytes) {
    ProfileEntries entries;
    std::string_view section;
    while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find('\n'), bytes.size());
        const std::string_view line = Trim(bytes.substr(0, end));
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
        if (!line.empty() && line.front() == '[') {
            const std::size_t close = line.find(']');
            section = line.substr(1, close == std::string_view::npos ? line.npos : close - 1);
            entries.try_emplace(ProfileEntryName(section, ""));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        entries.try_emplace(ProfileEntryName(section, ""));  // also the nameless one at the top
        entries.try_emplace(ProfileEntryName(section, line.substr(0, equals)),
                            Trim(line.substr(equals + 1)));
    }
    return entries;
}

ProfileEntries ExpectedAfter(ProfileEntries before, const std::vector<ProfileWrite>& writes) {
    for (const ProfileWrite& w : writes) {
        before.try_emplace(ProfileEntryName(w.section, ""));
        before[ProfileEntryName(w.section, w.key)] = std::string(Trim(w.value));
    }
    return before;
}

}  // namespace vt
