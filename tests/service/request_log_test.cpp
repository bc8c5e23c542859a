#include "request_log.h"

#include <gtest/gtest.h>

#include <string>

#include "click_counter.h"
#include "json_reader.h"
#include "json_text.h"

namespace vts {
namespace {

using test::Json;
using test::ParseJson;

TEST(JsonString, EscapesWhatJsonForbidsAndKeepsUtf8) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"", "\"\""},
        {"plain", "\"plain\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"tab\there\r\n", "\"tab\\u0009here\\u000d\\u000a\""},
        {std::string("nul\0x", 5), "\"nul\\u0000x\""},
        {"\x7f", "\"\\u007f\""},
        {"Москва Ё €", "\"Москва Ё €\""},
        {"\xF0\x9F\x98\x80", "\"\xF0\x9F\x98\x80\""},  // four-byte character
        // Code page 1251 "Мо" is not UTF-8: each byte becomes its own code point.
        {"\xCC\xEE", "\"\\u00cc\\u00ee\""},
        {"\xFF", "\"\\u00ff\""},
        {"\xD0", "\"\\u00d0\""},                                   // cut sequence
        {"\xC0\x80", "\"\\u00c0\\u0080\""},                        // overlong NUL
        {"\xED\xA0\x80", "\"\\u00ed\\u00a0\\u0080\""},             // surrogate
        {"\xF4\x90\x80\x80", "\"\\u00f4\\u0090\\u0080\\u0080\""},  // beyond U+10FFFF
    };
    for (const auto& c : cases) {
        const std::string json = JsonString(c.in);
        EXPECT_EQ(json, c.out);
        const std::optional<Json> parsed = ParseJson(json);
        ASSERT_TRUE(parsed.has_value()) << json;
        EXPECT_EQ(parsed->kind, Json::Kind::String);
    }
}

TEST(LogLine, IsOneJsonObjectWithHeadersInOrder) {
    const HttpRequest request{"GET",
                              "/r.php?sh+TRAY+http://127.0.0.2:8717/data/BTR27612.TXT",
                              "HTTP/1.1",
                              {{"Accept", "*/*"},
                               {"User-Agent", "Internet VOR Client"},
                               {"Host", "127.0.0.1:8717"},
                               {"Accept", "text/\"x\""},
                               {"X-Raw", "\xCC\xEE\r"}}};
    const struct {
        std::optional<int> status;
        const char* fault;
        const char* error;
    } cases[] = {{302, "none", ""}, {std::nullopt, "never-answer", ""}, {400, "none", "bad"}};
    for (const auto& c : cases) {
        LogEntry entry{{2026, 3, 10, 9, 5, 7, 42},
                       "127.0.0.1:8717",
                       "127.0.0.1:40000",
                       &request,
                       c.status,
                       c.fault,
                       c.error};
        const std::string line = LogLine(entry);
        EXPECT_EQ(line.find('\n'), std::string::npos);
        const std::optional<Json> json = ParseJson(line);
        ASSERT_TRUE(json.has_value()) << line;
        ASSERT_EQ(json->kind, Json::Kind::Object);
        EXPECT_EQ(json->Member("time")->text, "2026-03-10T09:05:07.042Z");
        EXPECT_EQ(json->Member("address")->text, "127.0.0.1:8717");
        EXPECT_EQ(json->Member("peer")->text, "127.0.0.1:40000");
        EXPECT_EQ(json->Member("method")->text, "GET");
        EXPECT_EQ(json->Member("target")->text, request.target);
        EXPECT_EQ(json->Member("version")->text, "HTTP/1.1");
        const Json* headers = json->Member("headers");
        ASSERT_NE(headers, nullptr);
        ASSERT_EQ(headers->items.size(), request.headers.size());
        for (std::size_t i = 0; i + 1 < request.headers.size(); ++i) {
            ASSERT_EQ(headers->items[i].items.size(), 2u);
            EXPECT_EQ(headers->items[i].items[0].text, request.headers[i].first);
            EXPECT_EQ(headers->items[i].items[1].text, request.headers[i].second);
        }
        EXPECT_EQ(headers->items.back().items[1].text, "\u00cc\u00ee\r");
        const Json* status = json->Member("status");
        if (c.status) {
            EXPECT_EQ(status->kind, Json::Kind::Number);
            EXPECT_EQ(status->number, *c.status);
        } else {
            EXPECT_EQ(status->kind, Json::Kind::Null);
        }
        EXPECT_EQ(json->Member("fault")->text, c.fault);
        EXPECT_EQ(json->Member("error") != nullptr, *c.error != '\0');
    }
}

TEST(ClickCounter, CountsPerKindAndTargetAsJson) {
    ClickCounter counter;
    const struct {
        const char* kind;
        const char* target;
    } clicks[] = {{"sh", "http://127.0.0.2:8717/data/BTR27612.TXT"},
                  {"sh", "http://127.0.0.2:8717/data/BTR27612.TXT"},
                  {"cl", "http://127.0.0.2:8717/data/BTR27612.TXT"},
                  {"cl", "http://127.0.0.5:8717"}};
    for (const auto& c : clicks) counter.Count(c.kind, c.target);
    EXPECT_EQ(counter.CountOf("sh", "http://127.0.0.2:8717/data/BTR27612.TXT"), 2);
    EXPECT_EQ(counter.CountOf("cl", "http://127.0.0.5:8717"), 1);
    EXPECT_EQ(counter.CountOf("sh", "http://127.0.0.5:8717"), 0);

    const std::optional<Json> json = ParseJson(counter.Json());
    ASSERT_TRUE(json.has_value());
    const Json* counts = json->Member("counts");
    ASSERT_NE(counts, nullptr);
    ASSERT_EQ(counts->items.size(), 3u);
    int total = 0;
    for (const Json& item : counts->items) {
        total += static_cast<int>(item.Member("count")->number);
        EXPECT_EQ(counter.CountOf(item.Member("kind")->text, item.Member("target")->text),
                  item.Member("count")->number);
    }
    EXPECT_EQ(total, 4);
}

}  // namespace
}  // namespace vts
