// ParseTownList and ReadTownList on lists shaped like the service's: CR LF lines of a station
// index, a Cyrillic town, a region and a country, all in code page 1251.
#include <benchmark/benchmark.h>

#include <array>
#include <map>
#include <string>

#include "ports/files.h"
#include "prefs/town_list.h"
#include "text/encoding.h"

namespace {

constexpr std::array kStarts = {"Ново", "Старо", "Верхне", "Нижне", "Красно",
                                "Бело", "Ёлко",  "",       "",      ""};
constexpr std::array kRoots = {"горск",   "дольск", "реченск", "полье", "озёрск", "бережье",
                               "каменск", "луки",   "град",    "ельск", "ярск",   "мирово"};
constexpr std::array kRegions = {"Московская обл.", "Тверская обл.", "Алтайский край",
                                 "Респ. Карелия",   "Минская обл.",  "Одесская обл."};
constexpr std::array kCountries = {"Россия",   "Россия",  "Россия",
                                   "Беларусь", "Украина", "Казахстан"};

std::string MakeList(int towns) {
    std::string utf8;
    for (int i = 0; i < towns; ++i) {
        const int index = 1001 + (i * 7919) % 98000;  // some four-digit ones among them
        utf8 += std::to_string(index) + ";" + kStarts[i % kStarts.size()] +
                kRoots[(i / 7) % kRoots.size()] + ";" + kRegions[i % kRegions.size()] + ";" +
                kCountries[(i / 3) % kCountries.size()] + ";\r\n";
    }
    return vt::Utf8ToCp1251(utf8);
}

// Files in memory; ReadAll copies as the real adapter's read does.
class MemoryFiles : public vt::Files {
  public:
    bool Exists(const std::string& path) override { return files.count(path) > 0; }
    std::unique_ptr<vt::OpenFile> OpenExclusive(const std::string&) override { return nullptr; }
    std::optional<std::string> ReadAll(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end()) return std::nullopt;
        return it->second;
    }
    bool Replace(const std::string& path, std::string_view bytes) override {
        files[path] = std::string(bytes);
        return true;
    }
    std::map<std::string, std::string> files;
};

void BM_ParseTownList(benchmark::State& state) {
    const std::string bytes = MakeList(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(vt::ParseTownList(bytes));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_ReadTownList(benchmark::State& state) {
    MemoryFiles files;
    const std::string dir = "C:\\Apps\\Tray\\";
    files.Replace(dir + "vlbartlistfull.txt", MakeList(static_cast<int>(state.range(0))));
    // Absent, so the selection scans the whole list.
    for (auto _ : state) {
        benchmark::DoNotOptimize(vt::ReadTownList(files, dir, vt::kTownListFileBase, "Нигде"));
    }
}

BENCHMARK(BM_ParseTownList)->Arg(153)->Arg(20000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadTownList)->Arg(153)->Arg(20000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
