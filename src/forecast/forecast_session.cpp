#include "forecast/forecast_session.h"

#include <utility>

namespace vt {
namespace {

constexpr int kNeutralPictureNumber = 9;

}  // namespace

void ApplyShowError(TFrcBaloonAndIcon& frc, std::string message) {
    frc.trayText = std::move(message);
    frc.iconTempText.clear();
    frc.iconPicture = kNeutralPictureNumber;
    frc.trayState = kStateError;
    frc.iconPictureFromRecord = false;
}

}  // namespace vt
