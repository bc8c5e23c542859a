#include "openmeteo/forecast_request.h"

#include "openmeteo/rejection.h"

namespace vt {

std::string ForecastRequestPath(const Place& place) {
    return Cat({"/v1/forecast?latitude=", CoordinateText(place.latitude),
                "&longitude=", CoordinateText(place.longitude),
                "&hourly=temperature_2m,relative_humidity_2m,surface_pressure,wind_speed_10m,"
                "wind_direction_10m,weather_code,cloud_cover&timezone=auto&forecast_days=3"});
}

}  // namespace vt
