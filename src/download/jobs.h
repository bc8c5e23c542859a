// The two download jobs as they run on a worker thread: fetch, store, and on a failed fetch the
// stored-copy rule. Everything a job reads is copied into its input before it starts.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "common/calendar.h"
#include "download/api_gate.h"
#include "download/fetch_url.h"
#include "download/job_runner.h"
#include "openmeteo/place.h"

namespace vt {

class Clock;
class Files;
class Internet;

enum class JobKind { Forecast = kForecastJob, TownList = kTownListJob };

// Where the forecast comes from: the open forecast API, or a weather service of the protocol.
enum class WeatherSource { OpenMeteo, Service };

// The codes of lastJob differ from the kinds.
inline constexpr int kLastJobNone = 0;
inline constexpr int kLastJobTownList = 1;
inline constexpr int kLastJobForecast = 2;

inline constexpr std::size_t kForecastMaxBytes = 1024 * 1024;
inline constexpr std::size_t kTownListMaxBytes = 16 * 1024 * 1024;

inline constexpr const char* kConnectionFailedText = "Не удалось установить соединение с ";
inline constexpr const char* kForecastWriteFailedText = "Ошибка в доступе к файлу с прогнозом";
inline constexpr const char* kTownListWriteFailedText =
    "Ошибка в доступе к файлу с списком городов";
inline constexpr const char* kNotATownListText = "Сервер прислал не список городов";
inline constexpr const char* kNoProxyAddressText = "Не указан адрес proxy-сервера";
inline constexpr const char* kBadForecastDataText = "Сервис прогнозов прислал неверные данные";
// A forecast answer is 4 KB for three days, 20 KB for the most the API gives.
inline constexpr std::size_t kApiAnswerMaxBytes = 256 * 1024;

struct JobInput {
    JobKind kind = JobKind::Forecast;
    std::string townIndex;         // "27612"
    std::string progDir;           // ends with a backslash
    std::string frcFileBase;       // the forecast file's name without ".txt"
    std::string townListFileBase;  // "vlbartlistfull" or that name with digits
    ConnectionSettings connection;
    std::string counterHost;
    std::string dataHost;
    std::string siteName;
    std::string townName;  // UTF-8, for the embedded source's town page
    std::string countryName;
    WeatherSource source = WeatherSource::Service;
    std::string forecastApi;  // scheme and authority: "https://api.open-meteo.com"
    std::string geocodingApi;
    std::string townQuery;  // UTF-8: the town-list job searches the geocoding API for it
    Place place;
    // False while the API's gate is closed: the job then asks nothing and ends as failed.
    bool mayAskApi = true;
    // Set by the UI thread when it has given the job up: the worker then stops and writes nothing.
    std::shared_ptr<std::atomic<bool>> cancelled;
    // The worker stops by itself at this moment even when the UI thread is late.
    std::optional<UtcTime> deadline;
};

struct JobPorts {
    Internet& internet;
    Files& files;
    const Clock& clock;
};

struct JobOutcome {
    int lastJob = kLastJobNone;
    bool ok = false;
    std::optional<std::string> trayText;   // the forecast job's failure text
    std::optional<std::string> comboText;  // the town-list job's text for ComboBox1
    bool enableButton4 = false;
    std::optional<ApiReply> apiReply{};  // when the job asked the API
    bool operator==(const JobOutcome&) const = default;
};

// True for a job that sends a request to the open forecast API (a forecast, or a search by
// name), whose answer its gate must hear of.
bool AsksApi(const JobInput& input);

std::string ForecastUrl(const std::string& counterHost, const std::string& dataHost,
                        const std::string& townIndex);
std::string TownListUrl(const std::string& dataHost);

std::string ForecastPath(const JobInput& input);
std::string TownListPath(const JobInput& input);

JobOutcome FetchForecast(const JobInput& input, const JobPorts& ports);
JobOutcome FetchTownList(const JobInput& input, const JobPorts& ports);

// What a failed fetch leaves: the stored-copy rule and its messages. The UI thread uses it too
// when it gives up a job that ran past its deadline.
JobOutcome FailedFetchOutcome(const JobInput& input, Files& files, const Clock& clock);

// The worker's body: runs the job of the input's kind; an error escaping the job counts as a
// failed fetch, so nothing leaves the worker thread.
JobOutcome RunJob(const JobInput& input, const JobPorts& ports) noexcept;

}  // namespace vt
