#include "openmeteo/json_reading.h"

#include <rapidjson/error/en.h>

#include <charconv>

namespace vt {

void Reject(std::string field, std::string reason) {
    throw JsonRejection{{std::move(field), std::move(reason)}};
}

JsonDocument ParseJson(std::string_view text, std::size_t maxBytes) {
    if (text.size() > maxBytes) {
        Reject("(document)",
               std::to_string(text.size()) + " bytes, more than " + std::to_string(maxBytes));
    }
    JsonDocument document;
    constexpr unsigned kFlags =
        rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag;
    document.Parse<kFlags>(text.data(), text.size());
    if (document.HasParseError()) {
        Reject("(document)", std::string("not JSON: ") +
                                 rapidjson::GetParseError_En(document.GetParseError()) +
                                 " (at byte " + std::to_string(document.GetErrorOffset()) + ")");
    }
    return document;
}

const JsonValue& Member(const JsonValue& object, const std::string& name, const std::string& path) {
    const auto found = object.FindMember(name.c_str());
    if (found == object.MemberEnd()) Reject(path + name, "missing");
    return found->value;
}

const JsonValue& ObjectMember(const JsonValue& root, const std::string& name) {
    const JsonValue& member = Member(root, name, "");
    if (!member.IsObject()) Reject(name, "not an object");
    return member;
}

void RejectLongArrays(const JsonValue& object, const std::string& path, std::size_t maxValues) {
    for (auto it = object.MemberBegin(); it != object.MemberEnd(); ++it) {
        if (it->value.IsArray() && it->value.Size() > maxValues) {
            Reject(path + std::string(it->name.GetString(), it->name.GetStringLength()),
                   std::to_string(it->value.Size()) + " values, more than " +
                       std::to_string(maxValues));
        }
    }
}

std::string NumberText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string Shown(const JsonValue& value) {
    constexpr std::size_t kShownChars = 40;
    if (value.IsNumber()) return NumberText(value.GetDouble());
    if (value.IsString()) {
        std::string text(value.GetString(), value.GetStringLength());
        if (text.size() > kShownChars) text = text.substr(0, kShownChars) + "...";
        return "\"" + text + "\"";
    }
    if (value.IsNull()) return "null";
    if (value.IsBool()) return value.GetBool() ? "true" : "false";
    return value.IsArray() ? "an array" : "an object";
}

}  // namespace vt
