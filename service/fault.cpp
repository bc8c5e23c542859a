#include "fault.h"

#include <array>
#include <utility>

namespace vts {
namespace {

constexpr std::array<std::pair<FaultMode, std::string_view>, 12> kModeNames = {{
    {FaultMode::None, "none"},
    {FaultMode::NeverAnswer, "never-answer"},
    {FaultMode::StallBody, "stall-body"},
    {FaultMode::TruncateBody, "truncate-body"},
    {FaultMode::EndlessBody, "endless-body"},
    {FaultMode::ErrorPage, "error-page"},
    {FaultMode::Status404, "status-404"},
    {FaultMode::Status500, "status-500"},
    {FaultMode::Status429, "status-429"},
    {FaultMode::EmptyBody, "empty-body"},
    {FaultMode::CloseNoReply, "close-no-reply"},
    {FaultMode::RedirectLoop, "redirect-loop"},
}};

// What a typical overloaded web server shows: HTML where the program expects numbers.
constexpr std::string_view kErrorPage =
    "<!DOCTYPE html>\r\n<html><head><meta charset=\"utf-8\"><title>Ошибка</title></head>\r\n"
    "<body><h1>Сервис временно недоступен</h1><p>Попробуйте зайти позже.</p></body></html>\r\n";

}  // namespace

std::optional<FaultMode> ParseFaultMode(std::string_view name) {
    for (const auto& [mode, modeName] : kModeNames) {
        if (modeName == name) return mode;
    }
    return std::nullopt;
}

std::string_view FaultModeName(FaultMode mode) {
    for (const auto& [m, name] : kModeNames) {
        if (m == mode) return name;
    }
    return "none";
}

std::optional<FaultScope> ParseFaultScope(std::string_view name) {
    if (name == "data") return FaultScope::Data;
    if (name == "all") return FaultScope::All;
    return std::nullopt;
}

std::string_view FaultScopeName(FaultScope scope) {
    return scope == FaultScope::All ? "all" : "data";
}

std::optional<HttpResponse> SubstituteResponse(FaultMode mode, std::string_view target) {
    switch (mode) {
        case FaultMode::RedirectLoop: {
            HttpResponse loop = TextResponse(302, "round and round\n");
            loop.extraHeaders.emplace_back("Location", std::string(target));
            return loop;
        }
        case FaultMode::ErrorPage:
            return HtmlResponse(200, std::string(kErrorPage));
        case FaultMode::Status404:
            return HtmlResponse(404, "<html><body><h1>404 Not Found</h1></body></html>\r\n");
        case FaultMode::Status500:
            return HtmlResponse(500,
                                "<html><body><h1>500 Internal Server Error</h1></body></html>\r\n");
        case FaultMode::Status429: {
            HttpResponse limited =
                TextResponse(429, "{\"error\":true,\"reason\":\"Too many requests\"}");
            limited.contentType = "application/json";
            limited.extraHeaders.emplace_back("Retry-After", "60");
            return limited;
        }
        case FaultMode::EmptyBody: {
            HttpResponse empty = TextResponse(200, "");
            empty.contentType = "text/plain";
            return empty;
        }
        default:
            return std::nullopt;
    }
}

void FaultState::Set(FaultMode mode, FaultScope scope) {
    std::lock_guard lock(mutex_);
    mode_ = mode;
    scope_ = scope;
    ++generation_;
}

FaultMode FaultState::Mode() const {
    std::lock_guard lock(mutex_);
    return mode_;
}

FaultScope FaultState::Scope() const {
    std::lock_guard lock(mutex_);
    return scope_;
}

FaultMode FaultState::ModeFor(FaultTarget target) const {
    std::lock_guard lock(mutex_);
    if (target == FaultTarget::Data) return mode_;
    if (target == FaultTarget::Counter && scope_ == FaultScope::All) return mode_;
    return FaultMode::None;
}

}  // namespace vts
