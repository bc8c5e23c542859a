// What the readers of the APIs' answers share: one bounded parse, and members looked up with the
// path of the field named when something is wrong. Only the readers include it: it brings in
// the JSON library.
#pragma once

#include <rapidjson/document.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "openmeteo/rejection.h"

namespace vt {

using JsonDocument = rapidjson::Document;
using JsonValue = rapidjson::Value;

// Thrown by the helpers below and caught by each reader's entry point.
struct JsonRejection {
    Rejection rejection;
};

[[noreturn]] void Reject(std::string field, std::string reason);

// One JSON value in valid UTF-8 filling the whole text, parsed without recursion; text over
// maxBytes is refused before parsing.
JsonDocument ParseJson(std::string_view text, std::size_t maxBytes);

// The member `name` of an object; `path` names the object in the message ("hourly.").
const JsonValue& Member(const JsonValue& object, const std::string& name, const std::string& path);
// A member of the root that must be an object.
const JsonValue& ObjectMember(const JsonValue& root, const std::string& name);
// Refuses an object that holds an array longer than maxValues.
void RejectLongArrays(const JsonValue& object, const std::string& path, std::size_t maxValues);

// A value as a message shows it: numbers shortest, strings quoted and cut at 40 characters.
std::string Shown(const JsonValue& value);
// Shortest form: "-4", "100.5".
std::string NumberText(double value);

}  // namespace vt
