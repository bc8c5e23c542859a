// A strict little JSON reader for the tests, written apart from the service's own JSON output so
// that it can judge it: it rejects raw control characters, bad escapes and invalid UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vts::test {

struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;  // decoded, UTF-8
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;  // in document order

    const Json* Member(std::string_view name) const;
};

// The whole text must be one value (surrounding blanks allowed).
std::optional<Json> ParseJson(std::string_view text);

}  // namespace vts::test
