#include "request_log.h"

#include <cstdio>

#include "json_text.h"

namespace vts {

std::string IsoUtc(const vt::UtcTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", t.year, t.month, t.day,
                  t.hour, t.minute, t.second, t.millisecond);
    return text;
}

std::string LogLine(const LogEntry& entry) {
    static const HttpRequest kNoRequest;
    const HttpRequest& request = entry.request ? *entry.request : kNoRequest;
    std::string line = "{\"time\":" + JsonString(IsoUtc(entry.time));
    line += ",\"address\":" + JsonString(entry.address);
    line += ",\"peer\":" + JsonString(entry.peer);
    line += ",\"method\":" + JsonString(request.method);
    line += ",\"target\":" + JsonString(request.target);
    line += ",\"version\":" + JsonString(request.version);
    line += ",\"headers\":[";
    for (std::size_t i = 0; i < request.headers.size(); ++i) {
        if (i > 0) line += ',';
        line += "[" + JsonString(request.headers[i].first) + "," +
                JsonString(request.headers[i].second) + "]";
    }
    line += "],\"status\":";
    line += entry.status ? std::to_string(*entry.status) : "null";
    line += ",\"fault\":" + JsonString(entry.fault);
    if (!entry.error.empty()) line += ",\"error\":" + JsonString(entry.error);
    line += "}";
    return line;
}

RequestLog::~RequestLog() {
    if (file_) std::fclose(file_);
}

bool RequestLog::Open(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (file_) std::fclose(file_);
    file_ = std::fopen(path.c_str(), "ab");
    return file_ != nullptr;
}

void RequestLog::Write(const LogEntry& entry) {
    const std::string line = LogLine(entry) + "\n";
    std::lock_guard lock(mutex_);
    if (!file_) return;
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

}  // namespace vts
