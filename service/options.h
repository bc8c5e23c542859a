// The command line of vtservice.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/calendar.h"
#include "fault.h"

namespace vts {

inline constexpr std::uint16_t kDefaultPort = 8717;

struct Options {
    std::uint16_t port = kDefaultPort;  // 0 (an ephemeral port) only with --single
    std::optional<std::string> single;  // listen on this address only
    std::string logPath;                // empty: no request log
    std::optional<vt::UtcTime> now;     // fixed "now" for the forecasts
    FaultMode fault = FaultMode::None;
    FaultScope faultScope = FaultScope::Data;
    bool help = false;
};

struct OptionsResult {
    std::optional<Options> options;  // nullopt on an error
    std::string error;
};

// args without the program name.
OptionsResult ParseOptions(std::span<const std::string_view> args);

// "2026-03-10T12:00:00Z"; nullopt unless it is exactly that shape and a real moment.
using vt::ParseUtcTime;

// True for a dotted IPv4 address in 127.0.0.0/8.
bool IsLoopbackIp(std::string_view ip);

// The --single address, or 127.0.0.1 .. 127.0.0.10.
std::vector<std::string> ListenAddresses(const Options& options);

// What scripts wait for: "vtservice listening on 127.0.0.1..10:8717".
std::string ReadyLine(const Options& options, std::uint16_t boundPort);

std::string_view UsageText();

}  // namespace vts
