#include "forecast/forecast_session.h"

#include <utility>

namespace vt {
namespace {

// The sky number a failure leaves. It is no picture index: the tray shows the neutral picture
// until a day-period record sets the sky again.
constexpr int kSkyAfterFailure = 9;

}  // namespace

void ApplyShowError(TFrcBaloonAndIcon& frc, std::string message) {
    frc.trayText = std::move(message);
    frc.iconTempText.clear();
    frc.iconPicture = kSkyAfterFailure;
    frc.trayState = kStateError;
    frc.iconPictureFromRecord = false;
}

}  // namespace vt
