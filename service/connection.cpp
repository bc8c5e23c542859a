#include "connection.h"

#include <chrono>
#include <optional>

#include "fault_replies.h"

namespace vts {
namespace {

constexpr std::size_t kMaxHeadBytes = 64 * 1024;
constexpr std::size_t kMaxBodyBytes = 1024 * 1024;
// A keep-alive connection that sends nothing for this long is closed.
constexpr std::chrono::seconds kIdleTimeout{15};
constexpr std::chrono::seconds kSendTimeout{30};

class Connection {
  public:
    Connection(UniqueFd socket, const ConnectionContext& context)
        : socket_(std::move(socket)), context_(context), peer_(PeerName(socket_.Get())) {
        stopped_ = [this] { return context_.stopping.load(); };
    }

    void Serve() {
        while (ServeOne()) {
        }
        LingeringClose(socket_.Get(), stopped_);
    }

  private:
    // False when the connection is to end.
    bool ServeOne() {
        const auto deadline = SteadyClock::now() + kIdleTimeout;
        ParseResult parsed;
        for (;;) {
            parsed = ParseRequestHead(buffer_, kMaxHeadBytes);
            if (parsed.status != ParseStatus::NeedMore) break;
            if (ReceiveSome(socket_.Get(), buffer_, deadline, stopped_) != IoStatus::Ok) {
                return false;
            }
        }
        if (parsed.status == ParseStatus::Bad) {
            // Nothing consumed: the head never ended within its limit.
            const int status = parsed.consumed == 0 ? 431 : 400;
            Answer(parsed.request, TextResponse(status, parsed.error + "\n"), true, parsed.error);
            return false;
        }
        buffer_.erase(0, parsed.consumed);
        const HttpRequest& request = parsed.request;

        const std::optional<std::size_t> bodyLength = RequestBodyLength(request);
        if (!bodyLength || *bodyLength > kMaxBodyBytes) {
            const int status = bodyLength ? 413 : 411;
            Answer(request, TextResponse(status, "request bodies are not accepted\n"), true,
                   "request body refused");
            return false;
        }
        if (!SkipBody(*bodyLength, deadline)) return false;

        Routed routed = Route(request, context_.listenIp, context_.state);
        const FaultMode fault = context_.state.faults.ModeFor(routed.faultTarget);
        if (std::optional<HttpResponse> substitute = SubstituteResponse(fault, request.target)) {
            routed.response = std::move(*substitute);
        }
        if (IsRawFault(fault)) {
            Log(request,
                RawFaultSendsStatus(fault) ? std::optional(routed.response.status) : std::nullopt,
                fault, {});
            const std::uint64_t generation = context_.state.faults.Generation();
            const Interrupted interrupted = [this, generation] {
                return context_.stopping.load() || context_.state.faults.Generation() != generation;
            };
            PlayRawFault(fault, socket_.Get(), routed.response, interrupted);
            return false;
        }
        const bool close = WantsClose(request) || context_.stopping.load();
        return Answer(request, routed.response, close, {}, fault) && !close;
    }

    bool SkipBody(std::size_t length, SteadyClock::time_point deadline) {
        while (buffer_.size() < length) {
            if (ReceiveSome(socket_.Get(), buffer_, deadline, stopped_) != IoStatus::Ok) {
                return false;
            }
        }
        buffer_.erase(0, length);
        return true;
    }

    void Log(const HttpRequest& request, std::optional<int> status, FaultMode fault,
             std::string_view error) {
        LogEntry entry;
        entry.time = SystemUtcNow();
        entry.address = context_.listenIp + ":" + std::to_string(context_.listenPort);
        entry.peer = peer_;
        entry.request = &request;
        entry.status = status;
        entry.fault = FaultModeName(fault);
        entry.error = error;
        context_.log.Write(entry);
    }

    // Logged before it is sent, so the line is there once the client has the answer.
    bool Answer(const HttpRequest& request, const HttpResponse& response, bool close,
                std::string_view error, FaultMode fault = FaultMode::None) {
        Log(request, response.status, fault, error);
        std::string bytes =
            ResponseHead(response, {.contentLength = response.body.size(), .closeAfter = close});
        if (request.method != "HEAD") bytes += response.body;
        return SendAll(socket_.Get(), bytes, SteadyClock::now() + kSendTimeout, stopped_) ==
               IoStatus::Ok;
    }

    UniqueFd socket_;
    const ConnectionContext& context_;
    std::string peer_;
    std::string buffer_;
    Interrupted stopped_;
};

}  // namespace

void ServeConnection(UniqueFd socket, const ConnectionContext& context) {
    Connection(std::move(socket), context).Serve();
}

}  // namespace vts
