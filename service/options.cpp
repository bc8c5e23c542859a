#include "options.h"

#include <arpa/inet.h>

namespace vts {
namespace {

constexpr int kAddressCount = 10;

std::optional<int> Digits(std::string_view text, std::size_t pos, std::size_t count) {
    if (pos + count > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::optional<std::uint16_t> ParsePort(std::string_view text) {
    if (text.empty() || text.size() > 5) return std::nullopt;
    const std::optional<int> value = Digits(text, 0, text.size());
    if (!value || *value > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(*value);
}

}  // namespace

bool IsLoopbackIp(std::string_view ip) {
    in_addr addr{};
    const std::string text(ip);
    if (::inet_pton(AF_INET, text.c_str(), &addr) != 1) return false;
    return (ntohl(addr.s_addr) >> 24) == 127;
}

OptionsResult ParseOptions(std::span<const std::string_view> args) {
    Options o;
    auto fail = [](std::string message) { return OptionsResult{std::nullopt, std::move(message)}; };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            o.help = true;
            continue;
        }
        if (arg != "--port" && arg != "--single" && arg != "--log" && arg != "--now" &&
            arg != "--fault" && arg != "--fault-scope") {
            return fail("unknown option: " + std::string(arg));
        }
        if (i + 1 >= args.size()) return fail(std::string(arg) + " needs a value");
        const std::string_view value = args[++i];
        if (arg == "--port") {
            const std::optional<std::uint16_t> port = ParsePort(value);
            if (!port) return fail("--port: not a port number: " + std::string(value));
            o.port = *port;
        } else if (arg == "--single") {
            if (!IsLoopbackIp(value))
                return fail("--single: not a 127.x.y.z address: " + std::string(value));
            o.single = std::string(value);
        } else if (arg == "--log") {
            if (value.empty()) return fail("--log: empty file name");
            o.logPath = std::string(value);
        } else if (arg == "--now") {
            o.now = ParseUtcTime(value);
            if (!o.now)
                return fail("--now: expected YYYY-MM-DDTHH:MM:SSZ, got " + std::string(value));
        } else if (arg == "--fault") {
            const std::optional<FaultMode> mode = ParseFaultMode(value);
            if (!mode) return fail("--fault: unknown mode: " + std::string(value));
            o.fault = *mode;
        } else {
            const std::optional<FaultScope> scope = ParseFaultScope(value);
            if (!scope)
                return fail("--fault-scope: expected data or all, got " + std::string(value));
            o.faultScope = *scope;
        }
    }
    if (o.port == 0 && !o.single) return fail("--port 0 needs --single");
    return {o, {}};
}

std::vector<std::string> ListenAddresses(const Options& options) {
    if (options.single) return {*options.single};
    std::vector<std::string> ips;
    for (int n = 1; n <= kAddressCount; ++n) ips.push_back("127.0.0." + std::to_string(n));
    return ips;
}

std::string ReadyLine(const Options& options, std::uint16_t boundPort) {
    const std::string where =
        options.single ? *options.single : "127.0.0.1.." + std::to_string(kAddressCount);
    return "vtservice listening on " + where + ":" + std::to_string(boundPort);
}

std::string_view UsageText() {
    return "usage: vtservice [options]\n"
           "  --port N            port on every address (default 8717; 0 = any, with --single)\n"
           "  --single ADDRESS    listen on this 127.x.y.z address only (default: 127.0.0.1 ..\n"
           "                      127.0.0.10)\n"
           "  --log FILE          append every request to FILE as one JSON object a line\n"
           "  --now TIME          forecasts for this UTC time, YYYY-MM-DDTHH:MM:SSZ\n"
           "  --fault MODE        none, never-answer, stall-body, truncate-body, endless-body,\n"
           "                      error-page, status-404, status-500, status-429, empty-body,\n"
           "                      close-no-reply,\n"
           "                      redirect-loop\n"
           "  --fault-scope S     data (the data files and /v1/forecast, default) or all (also\n"
           "                      /r.php?sh...)\n"
           "  --help              this text\n"
           "The forecast API's /v1/forecast?latitude=..&longitude=.. answers from the feed's\n"
           "samples (service/feed), the nearest town's moved to today on its own clock.\n"
           "At run time: GET /control/fault?mode=MODE[&scope=S], GET /counts.\n";
}

}  // namespace vts
