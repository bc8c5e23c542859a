#include "download/jobs.h"

#include "common/stored_file.h"
#include "download/stored_copy.h"
#include "forecast/forecast_decoder.h"
#include "forecast/record_codec.h"
#include "openmeteo/builtin_towns.h"
#include "openmeteo/forecast_request.h"
#include "openmeteo/geocoding.h"
#include "openmeteo/hourly_answer.h"
#include "openmeteo/period_mapping.h"
#include "openmeteo/town_page.h"
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

// What the API said, for its gate; `succeeded` is set once the answer proves usable.
ApiReply ReplyOf(const FetchResult& fetched) {
    return {false, fetched.status,
            fetched.retryAfter ? ParseRetryAfter(*fetched.retryAfter) : std::nullopt};
}

// The stored copy stands in for an answer that says nothing usable, as for a failed download;
// without one the user learns the answer was wrong rather than missing.
JobOutcome BadAnswerOutcome(const JobInput& input, const JobPorts& ports) {
    JobOutcome outcome = FailedFetchOutcome(input, ports.files, ports.clock);
    if (!outcome.ok) outcome.trayText = kBadForecastDataText;
    return outcome;
}

struct ApiFiles {
    std::string forecast;  // the two records, as the service's file would hold them
    std::string page;      // «Прогноз на 3 дня»
};

// Nullopt for an answer the mapping refuses.
std::optional<ApiFiles> FilesOf(const JobInput& input, const std::string& answer,
                                const UtcTime& now) {
    const SeriesResult read = ReadHourlySeries(answer);
    if (!read.series) return std::nullopt;
    const int offset = read.series->utcOffsetMinutes;
    const FileRecords file = FileRecordsAt(*read.series, offset, now);
    if (!file.records) return std::nullopt;
    return ApiFiles{
        EncodeForecastFile(*file.records),
        TownPage(input.townName, input.countryName, PageRows(*read.series, offset, now))};
}

// A closed gate or a proxy user without an address ends an API job before it asks anything.
std::optional<JobOutcome> RefusalBeforeAsking(const JobInput& input, const JobPorts& ports) {
    if (!input.mayAskApi) {
        // The stored forecast may stand in; a search has nothing that could.
        return input.kind == JobKind::Forecast ? FailedFetchOutcome(input, ports.files, ports.clock)
                                               : ConnectionFailure(input);
    }
    if (!HasProxyAddressForCredentials(input.connection)) {
        return FailureSaying(input, kNoProxyAddressText);
    }
    return std::nullopt;
}

JobOutcome FetchApiForecast(const JobInput& input, const JobPorts& ports) {
    if (auto refusal = RefusalBeforeAsking(input, ports)) return *refusal;
    const std::string url = input.forecastApi + ForecastRequestPath(input.place);
    const FetchResult fetched = FetchUrl(ports.internet, input.connection, url,
                                         OptionsFor(input, ports.clock, kApiAnswerMaxBytes));
    if (IsCancelled(input)) return Failure(input.kind);
    ApiReply reply = ReplyOf(fetched);
    JobOutcome outcome;
    const UtcTime now = ports.clock.NowUtc();
    const std::optional<ApiFiles> files =
        fetched.ok ? FilesOf(input, fetched.body, now) : std::nullopt;
    if (!fetched.ok && !fetched.overCap) {
        outcome = FailedFetchOutcome(input, ports.files, ports.clock);
    } else if (!fetched.ok || !files || !IsForecastAnswer(files->forecast, now.Date())) {
        outcome = BadAnswerOutcome(input, ports);
    } else {
        reply.succeeded = true;
        // The page is a convenience: a failure to write it leaves the forecast alone.
        ports.files.Replace(TownPagePath(input.progDir, input.townIndex), files->page);
        outcome = ports.files.Replace(ForecastPath(input), files->forecast) ? Success(input.kind)
                                                                            : WriteFailure(input);
    }
    outcome.apiReply = reply;
    return outcome;
}

// The towns found by the name, followed by the built-in ones, so that one found town can be
// taken too and the built-in towns are never lost.
JobOutcome SearchTowns(const JobInput& input, const JobPorts& ports) {
    if (auto refusal = RefusalBeforeAsking(input, ports)) return *refusal;
    const FetchResult fetched = FetchUrl(ports.internet, input.connection,
                                         input.geocodingApi + SearchRequestPath(input.townQuery),
                                         OptionsFor(input, ports.clock, kMaxSearchAnswerBytes));
    if (IsCancelled(input)) return Failure(input.kind);
    ApiReply reply = ReplyOf(fetched);
    const SearchResult found = fetched.ok ? ReadSearchAnswer(fetched.body) : SearchResult{};
    JobOutcome outcome;
    if (!fetched.ok && !fetched.overCap) {
        outcome = ConnectionFailure(input);
    } else if (!found.places) {
        outcome = FailureSaying(input, kBadForecastDataText);
    } else {
        reply.succeeded = true;
        outcome = ports.files.Replace(TownListPath(input),
                                      FoundTownLines(*found.places) + BuiltinTownListFile())
                      ? Success(input.kind)
                      : WriteFailure(input);
    }
    outcome.apiReply = reply;
    return outcome;
}

}  // namespace

bool AsksApi(const JobInput& input) {
    return input.source == WeatherSource::OpenMeteo && input.mayAskApi &&
           (input.kind == JobKind::Forecast || !input.townQuery.empty());
}

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
    if (input.source == WeatherSource::OpenMeteo) return FetchApiForecast(input, ports);
    return RunFetch(input, ports, ForecastUrl(input.counterHost, input.dataHost, input.townIndex),
                    ForecastPath(input), kForecastMaxBytes);
}

JobOutcome FetchTownList(const JobInput& input, const JobPorts& ports) {
    // The embedded source's list starts as the built-in towns; nothing is asked for them.
    if (input.source == WeatherSource::OpenMeteo) {
        if (input.townQuery.empty()) {
            return ports.files.Replace(TownListPath(input), BuiltinTownListFile())
                       ? Success(input.kind)
                       : WriteFailure(input);
        }
        return SearchTowns(input, ports);
    }
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
