// The town list: the service's file of towns, the decision whether to download it, and what
// the town box of the preferences dialog shows of it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vt {

class Files;

// One line of the list. Texts are UTF-8.
struct TComboList {
    std::string TownName;
    std::string TownIndex;
    std::string CountryName;
    // What follows field 4: the embedded source's "latitude;longitude;", empty in the service's
    // list. One string, so that a list of 20,000 towns pays for one more empty member only.
    std::string Place{};
    bool operator==(const TComboList&) const = default;
};

// The stored copy is progDir + base name + ".txt".
inline constexpr const char* kTownListFileBase = "vlbartlistfull";
// The embedded source's list has a name of its own: switching sources never mixes the lists.
inline constexpr const char* kApiTownListFileBase = "vantorelplaces";
inline constexpr const char* kTownListLoadingText = "Идёт загрузка списка городов";
inline constexpr const char* kTownListUnreadableText = "Невозможно загрузить список городов";
inline constexpr const char* kTownListEmptyText = "Список городов пуст";

// One line of the file (already UTF-8, without its terminator): the fields up to their ";",
// a four-character index completed with a leading "0".
TComboList ParseTownLine(std::string_view line);

// The whole file in code page 1251: one town per line (CR LF, LF or CR; a terminator after the
// last line adds no empty line).
std::vector<TComboList> ParseTownList(std::string_view cp1251Bytes);

struct TownListDue {
    bool due = false;
    std::string fileBase;  // "vlbartlistfull", or that name with "1", "12", ... appended
};

// 1 (due) when the stored copy is missing, empty or held open by another process (then the
// next free name of the "1", "12", "123" series is chosen for the download).
TownListDue TownListDownloadDue(Files& files, const std::string& progDir,
                                const std::string& fileBase = kTownListFileBase);

enum class TownListState { Loaded, Unreadable, Empty };

struct TownListLoad {
    TownListState state = TownListState::Unreadable;
    std::vector<TComboList> towns;
    int selected = -1;  // the first town named like currentTownName (case ignored), or -1
};

// Reads progDir + fileBase + ".txt".
TownListLoad ReadTownList(Files& files, const std::string& progDir, const std::string& fileBase,
                          const std::string& currentTownName);

// The first town whose name equals name, ignoring letter case (Cyrillic too; Ё equals ё only).
int FindTownByName(const std::vector<TComboList>& towns, std::string_view name);

// The first entry that begins with typed, ignoring letter case; -1 when none or typed is empty.
int FindEntryByPrefix(const std::vector<std::string>& entries, std::string_view typed);

// True when the bytes can be a town list: no NUL byte, and a line whose first field is 4 to 8
// digits followed by ";". Anything else (a login page, an error page) must not replace the
// stored list.
bool IsTownListAnswer(std::string_view bytes);

// A town index is used in file names and web addresses: one to eight ASCII digits, nothing
// else (station indexes have five; a longer one is no town of a list).
inline constexpr std::size_t kMaxTownIndexDigits = 8;
bool IsSafeTownIndex(std::string_view index);

}  // namespace vt
