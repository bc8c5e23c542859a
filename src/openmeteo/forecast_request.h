// The forecast API's request for one place: the hourly values the mapping reads, three days on
// the town's own clock.
#pragma once

#include <string>

#include "openmeteo/place.h"

namespace vt {

// "/v1/forecast?latitude=...": the path and query, to follow the API's scheme and authority.
std::string ForecastRequestPath(const Place& place);

}  // namespace vt
