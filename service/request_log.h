// The request log: one JSON object per line, flushed line by line so that a test can read it
// while the service runs.
#pragma once

#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "common/calendar.h"
#include "http_request.h"

namespace vts {

struct LogEntry {
    vt::UtcTime time;
    std::string address;  // where the request arrived, "127.0.0.2:8717"
    std::string peer;     // the client's address and port
    const HttpRequest* request = nullptr;
    std::optional<int> status;  // nullopt when no status line was sent
    std::string_view fault = "none";
    std::string_view error;  // why a request could not be parsed; empty otherwise
};

// "2026-03-10T12:00:00.123Z"
std::string IsoUtc(const vt::UtcTime& time);

// {"time":...,"address":...,"peer":...,"method":...,"target":...,"version":...,
//  "headers":[["Host","..."],...],"status":200,"fault":"none"} and "error" when set.
std::string LogLine(const LogEntry& entry);

class RequestLog {
  public:
    RequestLog() = default;
    ~RequestLog();
    RequestLog(const RequestLog&) = delete;
    RequestLog& operator=(const RequestLog&) = delete;

    // Appends to the file; false when it cannot be opened.
    bool Open(const std::string& path);
    // Does nothing while no file is open.
    void Write(const LogEntry& entry);

  private:
    std::mutex mutex_;
    std::FILE* file_ = nullptr;
};

}  // namespace vts
