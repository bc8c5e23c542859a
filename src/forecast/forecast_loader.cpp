#include "forecast/forecast_loader.h"

#include <string>
#include <utility>
#include <vector>

#include "forecast/forecast_decoder.h"
#include "forecast/forecast_lines.h"
#include "forecast/forecast_texts.h"
#include "forecast/record_text.h"

namespace vt {
namespace {

LoadOutcome Error(std::string message) {
    LoadOutcome outcome;
    outcome.isError = true;
    outcome.errorMessage = std::move(message);
    return outcome;
}

}  // namespace

LoadOutcome LoadForecastFromBytes(const std::optional<std::string>& fileBytes, bool twoRecords,
                                  const std::string& townName, ForecastSession& session,
                                  const DayNames& dayNames, CivilDate todayUtc) {
    if (!fileBytes) return Error(kFileAccessError);
    const std::vector<std::string> lines = SplitForecastLines(*fileBytes);
    if (lines.empty()) return Error(kEmptyFileError);

    TFrcBaloonAndIcon& frc = session.frc;
    bool invalid = false;
    if (twoRecords && lines.size() >= 2) {
        frc.firstText = DecodeForecastLine(lines[0], session, dayNames, todayUtc);
        frc.secondText = DecodeForecastLine(lines[1], session, dayNames, todayUtc);
        // Equal dates are not "earlier": the second record then comes first.
        frc.trayText = session.dayDate < session.otherDate
                           ? JoinRecordTexts(frc.firstText, frc.secondText)
                           : JoinRecordTexts(frc.secondText, frc.firstText);
        invalid = frc.firstText == kInvalidDataText || frc.secondText == kInvalidDataText;
    } else {
        frc.trayText = DecodeForecastLine(lines[0], session, dayNames, todayUtc);
        invalid = frc.trayText == kInvalidDataText;
    }

    LoadOutcome outcome = invalid ? Error(kInvalidDataLongText) : LoadOutcome{};
    if (!invalid) frc.trayState = kStatePrognoz;
    outcome.frcCaption = FrcCaptionAfterLoad(townName);
    return outcome;
}

}  // namespace vt
