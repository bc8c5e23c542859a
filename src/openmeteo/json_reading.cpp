#include "openmeteo/json_reading.h"

#include <rapidjson/reader.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "openmeteo/place.h"

namespace vt {
namespace {

constexpr std::size_t kMaxNesting = 16;

// A number the parser has checked against JSON's grammar. Exact for up to 15 significant digits
// and exponents within 22, the answers' kind of number; the library's own conversion and its
// tables of powers would grow the program by kilobytes. Nullopt beyond a double's range.
std::optional<double> NumberOf(std::string_view text) {
    double mantissa = 0;
    int digits = 0, exponent = 0;
    std::size_t i = text.starts_with('-') ? 1 : 0;
    bool fraction = false;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        if (text[i] == '.') {
            fraction = true;
            continue;
        }
        if (digits < 18) {
            mantissa = mantissa * 10 + (text[i] - '0');
            if (mantissa != 0) ++digits;
            if (fraction) --exponent;
        } else if (!fraction) {
            ++exponent;
        }
    }
    if (i < text.size()) {
        const bool negative = text[++i] == '-';
        if (text[i] == '-' || text[i] == '+') ++i;
        int written = 0;
        for (; i < text.size(); ++i) written = std::min(written * 10 + (text[i] - '0'), 100000);
        exponent += negative ? -written : written;
    }
    double value = mantissa;
    for (; exponent > 0 && std::isfinite(value); --exponent) value *= 10;
    // Divided in steps of 1e22, the largest power of ten a double holds exactly.
    for (; exponent <= -22 && value != 0; exponent += 22) value /= 1e22;
    double divisor = 1;
    for (; exponent < 0; ++exponent) divisor *= 10;
    value /= divisor;
    if (!std::isfinite(value)) return std::nullopt;
    return text.starts_with('-') ? -value : value;
}

// Builds the tree as the parser reports the values; false stops the parse.
class TreeBuilder : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, TreeBuilder> {
  public:
    explicit TreeBuilder(std::size_t maxValues) : maxValues_(maxValues) {}

    JsonNode root;
    Rejection limit;  // why the builder stopped the parse, when it did

    bool Null() { return Add(JsonNode::Kind::Null) != nullptr; }
    bool Bool(bool value) { return Scalar(JsonNode::Kind::Bool, value ? 1 : 0); }
    // Numbers come as their text (kParseNumbersAsStringsFlag).
    bool RawNumber(const char* text, rapidjson::SizeType length, bool) {
        const std::optional<double> value = NumberOf({text, length});
        if (!value) {
            limit = {"(document)", Cat({std::string_view(text, std::min<std::size_t>(length, 40)),
                                        " is beyond the range of a number"})};
            return false;
        }
        return Scalar(JsonNode::Kind::Number, *value);
    }
    bool String(const char* text, rapidjson::SizeType length, bool) {
        JsonNode* node = Add(JsonNode::Kind::String);
        if (node) node->text.assign(text, length);
        return node != nullptr;
    }
    bool StartObject() { return Open(JsonNode::Kind::Object); }
    bool Key(const char* text, rapidjson::SizeType length, bool) {
        key_.assign(text, length);
        return true;
    }
    bool EndObject(rapidjson::SizeType) { return Close(); }
    bool StartArray() { return Open(JsonNode::Kind::Array); }
    bool EndArray(rapidjson::SizeType) { return Close(); }

  private:
    JsonNode* Add(JsonNode::Kind kind) {
        if (++values_ > maxValues_) {
            limit = {"(document)", Cat({"more than ", std::to_string(maxValues_), " values"})};
            return nullptr;
        }
        JsonNode* node = &root;
        if (!open_.empty()) {
            JsonNode& parent = *open_.back();
            parent.children.emplace_back();
            node = &parent.children.back();
            if (parent.kind == JsonNode::Kind::Object) node->key = key_;
        }
        node->kind = kind;
        return node;
    }
    bool Scalar(JsonNode::Kind kind, double value) {
        JsonNode* node = Add(kind);
        if (node) node->number = value;
        return node != nullptr;
    }
    // Containers are only ever added to the innermost open one, so the pointers to the outer
    // ones stay valid while their children grow.
    bool Open(JsonNode::Kind kind) {
        if (open_.size() == kMaxNesting) {
            limit = {"(document)", Cat({"nested deeper than ", std::to_string(kMaxNesting)})};
            return false;
        }
        JsonNode* node = Add(kind);
        if (node) open_.push_back(node);
        return node != nullptr;
    }
    bool Close() {
        open_.pop_back();
        return true;
    }

    std::size_t maxValues_;
    std::size_t values_ = 0;
    std::string key_;
    std::vector<JsonNode*> open_;
};

}  // namespace

void Reject(std::string field, std::string reason) {
    throw JsonRejection{{std::move(field), std::move(reason)}};
}

void RejectElement(std::string_view array, std::size_t index, std::string reason) {
    Reject(Cat({array, "[", std::to_string(index), "]"}), std::move(reason));
}

JsonNode ParseJson(std::string_view text, std::size_t maxBytes, std::size_t maxValues) {
    if (text.size() > maxBytes) {
        Reject("(document)",
               Cat({std::to_string(text.size()), " bytes, more than ", std::to_string(maxBytes)}));
    }
    TreeBuilder builder(maxValues);
    rapidjson::MemoryStream stream(text.data(), text.size());
    rapidjson::Reader reader;
    reader.Parse<rapidjson::kParseNumbersAsStringsFlag>(stream, builder);
    if (!builder.limit.field.empty()) throw JsonRejection{builder.limit};
    if (reader.HasParseError()) {
        // The library's code: its English texts would only grow the program.
        Reject("(document)", Cat({"not JSON (error ", std::to_string(reader.GetParseErrorCode()),
                                  " at byte ", std::to_string(reader.GetErrorOffset()), ")"}));
    }
    return std::move(builder.root);
}

const JsonNode* FindMember(const JsonNode& object, std::string_view name) {
    if (!object.Is(JsonNode::Kind::Object)) return nullptr;
    for (const JsonNode& member : object.children) {
        if (member.key == name) return &member;
    }
    return nullptr;
}

const JsonNode& Member(const JsonNode& object, std::string_view name, std::string_view path) {
    const JsonNode* found = FindMember(object, name);
    if (!found) Reject(Cat({path, name}), "missing");
    return *found;
}

const JsonNode& ObjectMember(const JsonNode& root, std::string_view name) {
    const JsonNode& member = Member(root, name, "");
    if (!member.Is(JsonNode::Kind::Object)) Reject(std::string(name), "not an object");
    return member;
}

std::string NumberText(double value) {
    return DecimalText(value, 6, true);
}

std::string Shown(const JsonNode& value) {
    constexpr std::size_t kShownBytes = 40;
    switch (value.kind) {
        case JsonNode::Kind::Number:
            return NumberText(value.number);
        case JsonNode::Kind::String:
            return Cat({"\"", std::string_view(value.text).substr(0, kShownBytes),
                        value.text.size() > kShownBytes ? "...\"" : "\""});
        case JsonNode::Kind::Null:
            return "null";
        case JsonNode::Kind::Bool:
            return value.number != 0 ? "true" : "false";
        case JsonNode::Kind::Array:
            return "an array";
        case JsonNode::Kind::Object:
            break;
    }
    return "an object";
}

}  // namespace vt
