#include "download/jobs.h"

#include "common/stored_file.h"
#include "download/stored_copy.h"
#include "forecast/forecast_decoder.h"
#include "ports/clock.h"
#include "ports/files.h"
#include "prefs/town_list.h"

namespace vt {

namespace {

bool IsCancelled(const JobInput& input) {
    return input.cancelled && input.cancelled->load();
}

FetchOptions OptionsFor(const JobInput& input, const Clock& clock, std::size_t maxBodyBytes) {
    FetchOptions options;
    options.maxBodyBytes = maxBodyBytes;
    options.expired = [&input, &clock] {
        return IsCancelled(input) || (input.deadline && clock.NowUtc() >= *input.deadline);
    };
    return options;
}

JobOutcome Failure(JobKind kind) {
    JobOutcome outcome;
    outcome.lastJob = kind == JobKind::Forecast ? kLastJobForecast : kLastJobTownList;
    return outcome;
}

JobOutcome Success(JobKind kind) {
    JobOutcome outcome = Failure(kind);
    outcome.ok = true;
    return outcome;
}

// The same message in the tray or the town box.
JobOutcome FailureSaying(const JobInput& input, const std::string& text) {
    JobOutcome outcome = Failure(input.kind);
    if (input.kind == JobKind::Forecast) {
        outcome.trayText = text;
    } else {
        outcome.comboText = text;
        outcome.enableButton4 = true;
    }
    return outcome;
}

// The failure text of the stored copy that cannot stand in, for either job.
JobOutcome ConnectionFailure(const JobInput& input) {
    return FailureSaying(input, kConnectionFailedText + input.siteName);
}

JobOutcome WriteFailure(const JobInput& input) {
    return FailureSaying(input, input.kind == JobKind::Forecast ? kForecastWriteFailedText
                                                                : kTownListWriteFailedText);
}

bool IsAnswerOfItsKind(const JobInput& input, const std::string& body, const Clock& clock) {
    return input.kind == JobKind::Forecast ? IsForecastAnswer(body, clock.NowUtc().Date())
                                           : IsTownListAnswer(body);
}

JobOutcome RunFetch(const JobInput& input, const JobPorts& ports, const std::string& url,
                    const std::string& path, std::size_t maxBodyBytes) {
    // Without a proxy address WinINet would go direct, the password in a header the weather
    // service would read.
    if (!HasProxyAddressForCredentials(input.connection)) {
        return FailureSaying(input, kNoProxyAddressText);
    }
    const FetchResult fetched = FetchUrl(ports.internet, input.connection, url,
                                         OptionsFor(input, ports.clock, maxBodyBytes));
    // A given-up job's outcome is discarded; it must not touch the stored file.
    if (IsCancelled(input)) return Failure(input.kind);
    if (!fetched.ok) return FailedFetchOutcome(input, ports.files, ports.clock);
    if (!IsAnswerOfItsKind(input, fetched.body, ports.clock)) {
        // A login page or an error page answered with 200: the stored file stays.
        if (input.kind == JobKind::Forecast) {
            return FailedFetchOutcome(input, ports.files, ports.clock);
        }
        return FailureSaying(input, kNotATownListText);
    }
    if (!ports.files.Replace(path, fetched.body)) return WriteFailure(input);
    return Success(input.kind);
}

}  // namespace

std::string ForecastUrl(const std::string& counterHost, const std::string& dataHost,
                        const std::string& townIndex) {
    // The embedded address goes unescaped: the counter takes everything after "sh+TRAY+".
    return "http://" + counterHost + "/r.php?sh+TRAY+http://" + dataHost + "/data/BTR" + townIndex +
           ".TXT";
}

std::string TownListUrl(const std::string& dataHost) {
    return "http://" + dataHost + "/vlbartlistfull.txt";
}

std::string ForecastPath(const JobInput& input) {
    return StoredFilePath(input.progDir, input.frcFileBase);
}

std::string TownListPath(const JobInput& input) {
    return StoredFilePath(input.progDir, input.townListFileBase);
}

JobOutcome FetchForecast(const JobInput& input, const JobPorts& ports) {
    return RunFetch(input, ports, ForecastUrl(input.counterHost, input.dataHost, input.townIndex),
                    ForecastPath(input), kForecastMaxBytes);
}

JobOutcome FetchTownList(const JobInput& input, const JobPorts& ports) {
    return RunFetch(input, ports, TownListUrl(input.dataHost), TownListPath(input),
                    kTownListMaxBytes);
}

JobOutcome FailedFetchOutcome(const JobInput& input, Files& files, const Clock& clock) {
    const std::string path =
        input.kind == JobKind::Forecast ? ForecastPath(input) : TownListPath(input);
    switch (CheckStoredCopy(files, path, clock.NowUtc())) {
        case StoredCopy::Fresh:
            return Success(input.kind);
        case StoredCopy::CannotOpen:
        case StoredCopy::Stale:
            // A stale copy says the same as a missing one: the connection failed, so the user
            // sees why rather than an older unrelated text.
            break;
    }
    return ConnectionFailure(input);
}

JobOutcome RunJob(const JobInput& input, const JobPorts& ports) noexcept {
    try {
        return input.kind == JobKind::Forecast ? FetchForecast(input, ports)
                                               : FetchTownList(input, ports);
    } catch (...) {
    }
    try {
        return FailedFetchOutcome(input, ports.files, ports.clock);
    } catch (...) {
    }
    try {
        return ConnectionFailure(input);
    } catch (...) {
        return Failure(input.kind);  // allocates nothing
    }
}

}  // namespace vt
