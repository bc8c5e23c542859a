#include "app/comma_text.h"

#include <cstdint>

namespace vt {
namespace {

bool IsBlank(char c) {
    return c >= 1 && c <= ' ';
}

}  // namespace

std::vector<std::string> SplitCommaText(std::string_view text) {
    std::vector<std::string> entries;
    std::size_t p = 0;
    const std::size_t n = text.size();
    while (p < n && IsBlank(text[p])) ++p;
    while (p < n && text[p] != '\0') {
        std::string entry;
        if (text[p] == '"') {
            ++p;
            while (p < n) {
                if (text[p] == '"') {
                    if (p + 1 < n && text[p + 1] == '"') {
                        entry += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                entry += text[p++];
            }
        } else {
            const std::size_t start = p;
            while (p<n&& static_cast<unsigned char>(text[p])> ' ' && text[p] != ',') ++p;
            entry.assign(text.substr(start, p - start));
        }
        entries.push_back(std::move(entry));
        while (p < n && IsBlank(text[p])) ++p;
        if (p < n && text[p] == ',') {
            if (p + 1 == n) entries.emplace_back();
            do {
                ++p;
            } while (p < n && IsBlank(text[p]));
        }
    }
    return entries;
}

int WholeNumberOr(std::string_view text, int fallback) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return fallback;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return fallback;
        value = value * 10 + (text[i] - '0');
        if (value > 2147483647LL) return fallback;
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace vt
