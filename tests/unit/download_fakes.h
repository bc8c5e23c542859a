// A scripted Internet port for the download tests: it records every call in order.
#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "download/jobs.h"
#include "ports/internet.h"

namespace vt {

inline void PrintTo(const JobOutcome& o, std::ostream* os) {
    *os << "{lastJob " << o.lastJob << ", ok " << o.ok << ", trayText "
        << (o.trayText ? "\"" + *o.trayText + "\"" : "none") << ", comboText "
        << (o.comboText ? "\"" + *o.comboText + "\"" : "none") << ", button4 " << o.enableButton4
        << "}";
}

}  // namespace vt

namespace vt::test {

class FakeInternet : public Internet {
  public:
    struct UrlCall {
        std::string url;
        std::string headers;
        std::uint32_t flags = 0;
        std::optional<ProxyLogin> tunnelLogin;
    };

    std::unique_ptr<InternetSession> Open(const std::string& agent, AccessType type,
                                          const std::string& proxy) override {
        log.push_back("open " + std::to_string(static_cast<int>(type)) + " [" + proxy + "]");
        agents.push_back(agent);
        if (Next(sessionResults)) return std::make_unique<Session>(*this);
        return nullptr;
    }

    void Sleep(int milliseconds) override {
        log.push_back("sleep " + std::to_string(milliseconds));
        sleeps.push_back(milliseconds);
    }

    int Count(const std::string& prefix) const {
        return static_cast<int>(std::count_if(
            log.begin(), log.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
    }

    // Script: an empty queue means success.
    std::deque<bool> sessionResults;
    std::deque<bool> requestResults;
    bool throwOnOpenUrl = false;
    int status = 200;
    std::optional<std::int64_t> contentLength;
    std::optional<std::string> retryAfter;
    std::string body;
    std::size_t chunkLimit = 1 << 30;  // at most this many bytes per read
    int failRead = -1;                 // the number (from 0) of the read that fails
    std::function<void()> onRead;
    // Answers given, one per opened request, before the scripted one: status and Location.
    std::deque<std::pair<int, std::string>> redirects;

    std::vector<std::string> log;
    std::vector<std::string> agents;
    std::vector<int> sleeps;
    std::vector<UrlCall> urls;
    std::vector<std::size_t> readSizes;
    std::vector<const char*> readBuffers;

  private:
    static bool Next(std::deque<bool>& script) {
        if (script.empty()) return true;
        const bool result = script.front();
        script.pop_front();
        return result;
    }

    class Request : public UrlRequest {
      public:
        explicit Request(FakeInternet& net) : net_(net) {
            if (!net_.redirects.empty()) {
                hop_ = net_.redirects.front();
                net_.redirects.pop_front();
            }
        }
        ~Request() override { net_.log.push_back("close request"); }
        int Status() override { return hop_ ? hop_->first : net_.status; }
        std::optional<std::string> Location() override {
            if (hop_ && !hop_->second.empty()) return hop_->second;
            return std::nullopt;
        }
        std::optional<std::int64_t> ContentLength() override { return net_.contentLength; }
        std::optional<std::string> RetryAfter() override { return net_.retryAfter; }
        ReadResult Read(char* buffer, std::size_t size) override {
            const int number = static_cast<int>(net_.readSizes.size());
            net_.readSizes.push_back(size);
            net_.readBuffers.push_back(buffer);
            if (net_.onRead) net_.onRead();
            net_.log.push_back("read " + std::to_string(size));
            if (number == net_.failRead) return {false, 0};
            const std::size_t n = std::min({size, net_.chunkLimit, net_.body.size() - position_});
            if (n > 0) std::memcpy(buffer, net_.body.data() + position_, n);
            position_ += n;
            return {true, n};
        }

      private:
        FakeInternet& net_;
        std::optional<std::pair<int, std::string>> hop_;
        std::size_t position_ = 0;
    };

    class Session : public InternetSession {
      public:
        explicit Session(FakeInternet& net) : net_(net) {}
        ~Session() override { net_.log.push_back("close session"); }
        std::unique_ptr<UrlRequest> OpenUrl(const std::string& url, const std::string& headers,
                                            std::uint32_t flags,
                                            const ProxyLogin* tunnelLogin) override {
            net_.log.push_back("url " + url);
            net_.urls.push_back(
                {url, headers, flags,
                 tunnelLogin ? std::optional<ProxyLogin>(*tunnelLogin) : std::nullopt});
            if (net_.throwOnOpenUrl) throw std::runtime_error("adapter failure");
            if (Next(net_.requestResults)) return std::make_unique<Request>(net_);
            return nullptr;
        }

      private:
        FakeInternet& net_;
    };
};

}  // namespace vt::test
