#include "json_reader.h"

#include <cstdint>
#include <cstdlib>

namespace vts::test {
namespace {

class Reader {
  public:
    explicit Reader(std::string_view text) : s_(text) {}

    std::optional<Json> Document() {
        std::optional<Json> value = Value(0);
        Blanks();
        if (!value || pos_ != s_.size()) return std::nullopt;
        return value;
    }

  private:
    void Blanks() {
        while (pos_ < s_.size() &&
               (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r'))
            ++pos_;
    }
    bool Eat(char c) {
        Blanks();
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool Word(std::string_view w) {
        if (s_.substr(pos_, w.size()) != w) return false;
        pos_ += w.size();
        return true;
    }

    std::optional<Json> Value(int depth) {
        if (depth > 32) return std::nullopt;
        Blanks();
        if (pos_ >= s_.size()) return std::nullopt;
        Json v;
        const char c = s_[pos_];
        if (c == '{') return Object(depth);
        if (c == '[') return Array(depth);
        if (c == '"') {
            std::optional<std::string> text = String();
            if (!text) return std::nullopt;
            v.kind = Json::Kind::String;
            v.text = std::move(*text);
            return v;
        }
        if (Word("null")) return v;
        if (Word("true") || Word("false")) {
            v.kind = Json::Kind::Bool;
            v.boolean = s_[pos_ - 1] == 'e' && s_[pos_ - 2] == 'u';
            return v;
        }
        return Number();
    }

    std::optional<Json> Number() {
        const std::size_t start = pos_;
        if (pos_ < s_.size() && s_[pos_] == '-') ++pos_;
        std::size_t digits = 0;
        while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_, ++digits;
        if (digits == 0) return std::nullopt;
        Json v;
        v.kind = Json::Kind::Number;
        v.number = std::strtod(std::string(s_.substr(start, pos_ - start)).c_str(), nullptr);
        return v;
    }

    std::optional<Json> Array(int depth) {
        ++pos_;
        Json v;
        v.kind = Json::Kind::Array;
        if (Eat(']')) return v;
        do {
            std::optional<Json> item = Value(depth + 1);
            if (!item) return std::nullopt;
            v.items.push_back(std::move(*item));
        } while (Eat(','));
        if (!Eat(']')) return std::nullopt;
        return v;
    }

    std::optional<Json> Object(int depth) {
        ++pos_;
        Json v;
        v.kind = Json::Kind::Object;
        if (Eat('}')) return v;
        do {
            Blanks();
            std::optional<std::string> name = String();
            if (!name || !Eat(':')) return std::nullopt;
            std::optional<Json> member = Value(depth + 1);
            if (!member) return std::nullopt;
            v.members.emplace_back(std::move(*name), std::move(*member));
        } while (Eat(','));
        if (!Eat('}')) return std::nullopt;
        return v;
    }

    static void AppendUtf8(std::string& out, std::uint32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | cp >> 6);
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | cp >> 12);
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    // Validates one raw UTF-8 character starting at pos_ and copies it.
    bool CopyUtf8(std::string& out) {
        const auto b0 = static_cast<unsigned char>(s_[pos_]);
        int extra = b0 >= 0xF0 && b0 <= 0xF4  ? 3
                    : b0 >= 0xE0              ? 2
                    : b0 >= 0xC2 && b0 < 0xE0 ? 1
                                              : -1;
        if (b0 >= 0xF5 || extra < 0) return false;
        if (pos_ + static_cast<std::size_t>(extra) >= s_.size()) return false;
        std::uint32_t cp = b0 & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(s_[pos_ + static_cast<std::size_t>(k)]);
            if ((b & 0xC0) != 0x80) return false;
            cp = cp << 6 | (b & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp < 0xE000))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        out.append(s_.substr(pos_, static_cast<std::size_t>(extra) + 1));
        pos_ += static_cast<std::size_t>(extra) + 1;
        return true;
    }

    std::optional<std::string> String() {
        if (pos_ >= s_.size() || s_[pos_] != '"') return std::nullopt;
        ++pos_;
        std::string out;
        while (pos_ < s_.size()) {
            const auto c = static_cast<unsigned char>(s_[pos_]);
            if (c == '"') {
                ++pos_;
                return out;
            }
            if (c < 0x20) return std::nullopt;
            if (c >= 0x80) {
                if (!CopyUtf8(out)) return std::nullopt;
                continue;
            }
            ++pos_;
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (pos_ >= s_.size()) return std::nullopt;
            const char e = s_[pos_++];
            switch (e) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    if (pos_ + 4 > s_.size()) return std::nullopt;
                    char* end = nullptr;
                    const std::string hex(s_.substr(pos_, 4));
                    const unsigned long cp = std::strtoul(hex.c_str(), &end, 16);
                    if (end != hex.c_str() + 4) return std::nullopt;
                    AppendUtf8(out, static_cast<std::uint32_t>(cp));
                    pos_ += 4;
                    break;
                }
                default:
                    return std::nullopt;
            }
        }
        return std::nullopt;
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

}  // namespace

const Json* Json::Member(std::string_view name) const {
    for (const auto& [key, value] : members) {
        if (key == name) return &value;
    }
    return nullptr;
}

std::optional<Json> ParseJson(std::string_view text) {
    return Reader(text).Document();
}

}  // namespace vts::test
