#include "prefs/town_list.h"

#include <algorithm>
#include <cstddef>

#include "common/stored_file.h"
#include "ports/files.h"
#include "text/encoding.h"

namespace vt {
namespace {

// The field that begins at pos, taken only when a ";" ends it; pos moves past that ";".
// Without one, nothing is taken and pos stays, so every later field comes out empty too.
std::string_view NextField(std::string_view line, std::size_t& pos) {
    const std::size_t end = line.find(';', pos);
    if (end == std::string_view::npos) return {};
    const std::string_view field = line.substr(pos, end - pos);
    pos = end + 1;
    return field;
}

// A plain test: find_first_of searches its two-character set once for every byte.
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Enough room for every line, and only one extra: a CR LF pair is counted once.
std::size_t LineCountBound(std::string_view text) {
    std::size_t count = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) {
            ++count;
        }
    }
    return count;
}

}  // namespace

TComboList ParseTownLine(std::string_view line) {
    std::size_t pos = 0;
    TComboList town;
    const std::string_view index = NextField(line, pos);
    // Characters, not bytes: the file's code page has one byte for each.
    if (CharCount(index) == 4) town.TownIndex = "0";
    town.TownIndex += index;
    town.TownName = NextField(line, pos);
    NextField(line, pos);
    const std::size_t countryStart = pos;
    town.CountryName = NextField(line, pos);
    if (pos != countryStart) town.Place = line.substr(pos);
    return town;
}

std::vector<TComboList> ParseTownList(std::string_view cp1251Bytes) {
    // One conversion for the whole file: the terminators are ASCII, so splitting the UTF-8
    // text finds the same lines as splitting the bytes.
    const std::string text = Cp1251ToUtf8(cp1251Bytes);
    const std::string_view view = text;

    std::vector<TComboList> towns;
    towns.reserve(LineCountBound(view));
    std::size_t start = 0;
    while (start < view.size()) {
        std::size_t end = start;
        while (end < view.size() && !IsLineEnd(view[end])) ++end;
        towns.push_back(ParseTownLine(view.substr(start, end - start)));
        if (end == view.size()) break;
        start = end + 1;
        if (view[end] == '\r' && start < view.size() && view[start] == '\n') ++start;
    }
    return towns;
}

TownListDue TownListDownloadDue(Files& files, const std::string& progDir,
                                const std::string& fileBase) {
    TownListDue result{true, fileBase};
    const std::string path = StoredFilePath(progDir, result.fileBase);
    if (!files.Exists(path)) return result;
    if (auto file = files.OpenExclusive(path)) {
        result.due = file->ByteCount() == 0;
        return result;
    }
    // Someone holds the copy open: download beside it rather than wait for them.
    for (int n = 1;; ++n) {
        result.fileBase += std::to_string(n);
        if (!files.Exists(StoredFilePath(progDir, result.fileBase))) return result;
    }
}

TownListLoad ReadTownList(Files& files, const std::string& progDir, const std::string& fileBase,
                          const std::string& currentTownName) {
    TownListLoad load;
    const std::optional<std::string> bytes = files.ReadAll(StoredFilePath(progDir, fileBase));
    if (!bytes) return load;
    load.towns = ParseTownList(*bytes);
    if (load.towns.empty()) {
        load.state = TownListState::Empty;
        return load;
    }
    load.state = TownListState::Loaded;
    load.selected = FindTownByName(load.towns, currentTownName);
    return load;
}

int FindTownByName(const std::vector<TComboList>& towns, std::string_view name) {
    for (std::size_t i = 0; i < towns.size(); ++i) {
        if (EqualsIgnoreCase(towns[i].TownName, name)) return static_cast<int>(i);
    }
    return -1;
}

int FindEntryByPrefix(const std::vector<std::string>& entries, std::string_view typed) {
    if (typed.empty()) return -1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (StartsWithIgnoreCase(entries[i], typed)) return static_cast<int>(i);
    }
    return -1;
}

bool IsTownListAnswer(std::string_view bytes) {
    if (bytes.find('\0') != std::string_view::npos) return false;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view line = bytes.substr(start, end - start);
        const std::size_t digits = line.find_first_not_of("0123456789");
        if (digits >= 4 && digits <= kMaxTownIndexDigits && digits < line.size() &&
            line[digits] == ';') {
            return true;
        }
        start = end + 1;
    }
    return false;
}

bool IsSafeTownIndex(std::string_view index) {
    return !index.empty() && index.size() <= kMaxTownIndexDigits &&
           std::all_of(index.begin(), index.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace vt
