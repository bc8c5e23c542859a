// What the readers of the APIs' answers share: one bounded parse into a small tree, and members
// looked up with the path of the field named when something is wrong. The JSON library stays
// inside json_reading.cpp: one instantiation of its parser serves every reader.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "openmeteo/rejection.h"

namespace vt {

struct JsonNode {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    double number = 0;  // Number; Bool as 0 or 1
    std::string text;   // String: its bytes
    std::string key;    // the member's name, inside an Object
    std::vector<JsonNode> children;

    bool Is(Kind k) const { return kind == k; }
};

// Thrown by the helpers below and caught by each reader's entry point.
struct JsonRejection {
    Rejection rejection;
};

[[noreturn]] void Reject(std::string field, std::string reason);
// Rejects the element `index` of the array named `array` ("hourly.cloud_cover").
[[noreturn]] void RejectElement(std::string_view array, std::size_t index, std::string reason);

// One JSON value filling the whole text. Refused: text over maxBytes, nesting deeper than 16,
// more than maxValues values in all. Strings are taken as bytes: every string a reader keeps is
// compared with ASCII or converted by the tolerant UTF-8 reader.
JsonNode ParseJson(std::string_view text, std::size_t maxBytes, std::size_t maxValues);

// The member `name` of an object; `path` names the object in the message ("hourly.").
const JsonNode& Member(const JsonNode& object, std::string_view name, std::string_view path);
// The same, nullptr when absent.
const JsonNode* FindMember(const JsonNode& object, std::string_view name);
// A member of the root that must be an object.
const JsonNode& ObjectMember(const JsonNode& root, std::string_view name);

// A value as a message shows it: numbers plainly, strings quoted and cut at 40 bytes.
std::string Shown(const JsonNode& value);
// "-4", "100.5", for messages.
std::string NumberText(double value);

}  // namespace vt
