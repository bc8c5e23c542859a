// Arbitrary bytes through the line splitter, the integer parser and the loader in both spans.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forecast/forecast_lines.h"
#include "forecast/forecast_loader.h"
#include "forecast/forecast_texts.h"
#include "forecast/icon_choice.h"
#include "forecast/record_integer.h"
#include "forecast/russian_day_names.h"
#include "fuzz_check.h"
#include "text/encoding.h"

using vt::fuzz::Check;

namespace {

// The first two bytes pick today's date, so the year resolution sees many calendars.
vt::CivilDate TodayFrom(std::string_view& bytes) {
    if (bytes.size() < 2) return {2026, 12, 8};
    const int days =
        static_cast<unsigned char>(bytes[0]) << 8 | static_cast<unsigned char>(bytes[1]);
    bytes.remove_prefix(2);
    return vt::CivilFromDays(20000 + days);
}

void LoadBothSpans(const std::string& file, vt::CivilDate today) {
    static const vt::RussianDayNames kDays;
    for (bool twoRecords : {true, false}) {
        vt::ForecastSession session;
        const vt::LoadOutcome outcome =
            vt::LoadForecastFromBytes(file, twoRecords, "Москва", session, kDays, today);
        if (outcome.isError) vt::ApplyShowError(session.frc, outcome.errorMessage);
        Check(outcome.frcCaption.has_value() || outcome.isError);
        const int picture = vt::TrayPictureNumber(session.frc);
        Check(picture >= 0 && picture <= 9);
        Check(vt::CharCount(vt::BalloonText(session.frc.trayText)) <= vt::kBalloonInfoChars);
        Check(session.frc.trayText.find('\0') == std::string::npos);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vt::CivilDate today = TodayFrom(bytes);
    const std::string file(bytes);

    const std::vector<std::string> lines = vt::SplitForecastLines(file);
    for (const std::string& line : lines) {
        Check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        vt::ParseRecordInteger(line);
    }
    vt::ParseRecordInteger(file);
    LoadBothSpans(file, today);
    return 0;
}
