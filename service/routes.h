// What the service answers to each path, as plain responses; the connection code sends them
// and plays the faults.
#pragma once

#include <optional>
#include <string_view>

#include "api_samples.h"
#include "click_counter.h"
#include "common/calendar.h"
#include "fault.h"
#include "http_request.h"
#include "http_response.h"

namespace vts {

// Shared by every listener and connection.
struct ServiceState {
    ServiceState(FaultMode mode, FaultScope scope, std::optional<vt::UtcTime> fixed)
        : faults(mode, scope), fixedNow(fixed) {}

    FaultState faults;
    ClickCounter counter;
    const ApiSamples* api = nullptr;      // the open forecast API's answers; none: 503
    std::optional<vt::UtcTime> fixedNow;  // --now; the system clock otherwise

    vt::UtcTime Now() const;
};

struct Routed {
    HttpResponse response;
    FaultTarget faultTarget = FaultTarget::Never;
};

// listenIp: the address the request arrived on, "127.0.0.5"; it picks the site of "/".
Routed Route(const HttpRequest& request, std::string_view listenIp, ServiceState& state);

// True for "http://" followed by 127.x.y.z or localhost: the redirect never sends a client
// off this machine.
bool IsLoopbackUrl(std::string_view url);

// A wall-clock UTC time, to the millisecond.
vt::UtcTime SystemUtcNow();

}  // namespace vts
