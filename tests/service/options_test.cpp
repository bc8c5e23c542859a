#include "options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vts {
namespace {

OptionsResult Parse(const std::vector<std::string_view>& args) {
    return ParseOptions(args);
}

TEST(Options, DefaultsListenOnTenAddresses) {
    const OptionsResult r = Parse({});
    ASSERT_TRUE(r.options.has_value());
    EXPECT_EQ(r.options->port, 8717);
    EXPECT_EQ(r.options->fault, FaultMode::None);
    EXPECT_EQ(r.options->faultScope, FaultScope::Data);
    const std::vector<std::string> ips = ListenAddresses(*r.options);
    ASSERT_EQ(ips.size(), 10u);
    EXPECT_EQ(ips.front(), "127.0.0.1");
    EXPECT_EQ(ips[1], "127.0.0.2");
    EXPECT_EQ(ips.back(), "127.0.0.10");
    EXPECT_EQ(ReadyLine(*r.options, 8717), "vtservice listening on 127.0.0.1..10:8717");
}

TEST(Options, TakesEveryOption) {
    const OptionsResult r =
        Parse({"--port", "18717", "--single", "127.0.0.7", "--log", "/tmp/x.log", "--now",
               "2026-03-10T18:30:05Z", "--fault", "stall-body", "--fault-scope", "all"});
    ASSERT_TRUE(r.options.has_value()) << r.error;
    const Options& o = *r.options;
    EXPECT_EQ(o.port, 18717);
    EXPECT_EQ(o.single, "127.0.0.7");
    EXPECT_EQ(o.logPath, "/tmp/x.log");
    EXPECT_EQ(o.now, (vt::UtcTime{2026, 3, 10, 18, 30, 5, 0}));
    EXPECT_EQ(o.fault, FaultMode::StallBody);
    EXPECT_EQ(o.faultScope, FaultScope::All);
    EXPECT_EQ(ListenAddresses(o), std::vector<std::string>{"127.0.0.7"});
    EXPECT_EQ(ReadyLine(o, 18717), "vtservice listening on 127.0.0.7:18717");
    EXPECT_TRUE(Parse({"--help"}).options->help);
}

TEST(Options, RejectsWhatWouldMisleadAScript) {
    const std::vector<std::vector<std::string_view>> cases = {
        {"--port"},
        {"--port", "x"},
        {"--port", "65536"},
        {"--port", "-1"},
        {"--port", "0"},  // ephemeral ports differ per address: only with --single
        {"--single", "10.0.0.1"},
        {"--single", "192.168.1.2"},
        {"--single", "localhost"},
        {"--single", "127.0.0"},
        {"--fault", "sometimes"},
        {"--fault-scope", "counter"},
        {"--now", "2026-03-10 12:00:00"},
        {"--log", ""},
        {"--verbose"},
        {"8717"},
    };
    for (const auto& args : cases) {
        const OptionsResult r = Parse(args);
        EXPECT_FALSE(r.options.has_value()) << args.front();
        EXPECT_FALSE(r.error.empty());
    }
    EXPECT_TRUE(Parse({"--port", "0", "--single", "127.0.0.1"}).options.has_value());
}

TEST(ParseUtcTime, AcceptsOnlyRealMoments) {
    const struct {
        const char* text;
        std::optional<vt::UtcTime> time;
    } cases[] = {
        {"2026-03-10T12:00:00Z", vt::UtcTime{2026, 3, 10, 12, 0, 0, 0}},
        {"2024-02-29T23:59:59Z", vt::UtcTime{2024, 2, 29, 23, 59, 59, 0}},
        {"2023-02-29T00:00:00Z", std::nullopt},
        {"2026-13-01T00:00:00Z", std::nullopt},
        {"2026-03-10T24:00:00Z", std::nullopt},
        {"2026-03-10T12:60:00Z", std::nullopt},
        {"2026-03-10T12:00:00", std::nullopt},
        {"2026-03-10T12:00:00+00:00", std::nullopt},
        {"2026-3-10T12:00:00Z", std::nullopt},
        {"2026-03-10t12:00:00Z", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseUtcTime(c.text), c.time) << c.text;
}

}  // namespace
}  // namespace vts
