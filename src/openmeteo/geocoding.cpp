#include "openmeteo/geocoding.h"

#include <algorithm>
#include <cmath>

#include "openmeteo/builtin_towns.h"
#include "openmeteo/json_reading.h"
#include "openmeteo/place.h"

namespace vt {
namespace {

constexpr std::size_t kMaxResults = 100;
constexpr double kMaxPlaceId = 99999999;  // 8 digits: station indexes have 5, never the same

// Unreserved characters stay, every other byte becomes %XX.
std::string PercentEncoded(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string TextMember(const JsonNode& result, std::string_view name) {
    const JsonNode* member = FindMember(result, name);
    return member && member->Is(JsonNode::Kind::String) ? member->text : std::string();
}

FoundPlace PlaceOf(const JsonNode& result, std::size_t index) {
    if (!result.Is(JsonNode::Kind::Object)) RejectElement("results", index, "not an object");
    const JsonNode* id = FindMember(result, "id");
    const JsonNode* latitude = FindMember(result, "latitude");
    const JsonNode* longitude = FindMember(result, "longitude");
    FoundPlace place;
    place.name = TextMember(result, "name");
    place.region = TextMember(result, "admin1");
    place.country = TextMember(result, "country");
    if (!id || !id->Is(JsonNode::Kind::Number) || !(id->number >= 1 && id->number <= kMaxPlaceId) ||
        id->number != static_cast<double>(static_cast<std::int64_t>(id->number))) {
        RejectElement("results", index, "no id of 1..99999999");
    }
    place.id = static_cast<std::int64_t>(id->number);
    if (place.name.empty()) RejectElement("results", index, "no name");
    if (!latitude || !longitude || !latitude->Is(JsonNode::Kind::Number) ||
        !longitude->Is(JsonNode::Kind::Number) || !(std::abs(latitude->number) <= 90) ||
        !(std::abs(longitude->number) <= 180)) {
        RejectElement("results", index, "no place on Earth");
    }
    place.latitude = latitude->number;
    place.longitude = longitude->number;
    return place;
}

}  // namespace

std::string SearchRequestPath(std::string_view utf8Name) {
    return Cat({"/v1/search?name=", PercentEncoded(utf8Name),
                "&count=", std::to_string(kSearchResults), "&language=ru&format=json"});
}

bool IsSearchableName(std::string_view utf8Text) {
    int letters = 0;
    for (unsigned char c : utf8Text) {
        // A character of several bytes counts once, by its first byte.
        if ((c & 0xC0) == 0x80) continue;
        if (c >= 0x80 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) ++letters;
    }
    return letters >= 2;
}

SearchResult ReadSearchAnswer(std::string_view json) {
    try {
        const JsonNode root = ParseJson(json, kMaxSearchAnswerBytes, 64 * kMaxResults);
        if (!root.Is(JsonNode::Kind::Object)) Reject("(document)", "not an object");
        std::vector<FoundPlace> places;
        if (const JsonNode* results = FindMember(root, "results")) {
            if (!results->Is(JsonNode::Kind::Array)) Reject("results", "not an array");
            if (results->children.size() > kMaxResults) {
                Reject("results", Cat({std::to_string(results->children.size()),
                                       " results, more than ", std::to_string(kMaxResults)}));
            }
            for (std::size_t i = 0; i < results->children.size(); ++i) {
                places.push_back(PlaceOf(results->children[i], i));
            }
        }
        return {std::move(places), {}};
    } catch (const JsonRejection& failure) {
        return {std::nullopt, failure.rejection};
    }
}

// A field of the list holds no ";" and no line end.
std::string ListField(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == ';' || c == '\r' || c == '\n'; }, ' ');
    return text;
}

std::string FoundTownLines(const std::vector<FoundPlace>& places) {
    std::string lines;
    for (const FoundPlace& place : places) {
        const bool namesake =
            std::count_if(places.begin(), places.end(),
                          [&](const FoundPlace& other) { return other.name == place.name; }) > 1;
        std::string index = std::to_string(place.id);
        index.insert(0, 8 - index.size(), '0');
        const std::string text = namesake && !place.region.empty()
                                     ? Cat({place.name, " (", place.region, ")"})
                                     : place.name;
        lines += TownListLine(index, ListField(text), ListField(place.country), place.latitude,
                              place.longitude);
    }
    return lines;
}

}  // namespace vt
