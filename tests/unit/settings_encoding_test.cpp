#include "app/settings_encoding.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fakes.h"

namespace vt {
namespace {

const std::string kIni = "C:\\Apps\\Tray\\vantoreltray.ini";

TEST(Utf8Settings, UnicodeTextBecomesCodePage1251AndOnlyThat) {
    struct Case {
        const char* name;
        std::string bytes;
        std::optional<std::string> converted;
    };
    const Case cases[] = {
        {"with a mark", "\xEF\xBB\xBF[frc]\r\nfrcTownName=Тула\r\n",
         "[frc]\r\nfrcTownName=\xD2\xF3\xEB\xE0\r\n"},
        {"a mark, ASCII only", "\xEF\xBB\xBF[frc]\r\n", "[frc]\r\n"},
        {"without a mark", "[frc]\nfrcTownName=Москва\n[mine]\nnote=x\n",
         "[frc]\nfrcTownName=\xCC\xEE\xF1\xEA\xE2\xE0\n[mine]\nnote=x\n"},
        {"outside 1251", "\xEF\xBB\xBFname=東京\r\n", "name=??\r\n"},
        {"already 1251", "frcTownName=\xCC\xEE\xF1\xEA\xE2\xE0\r\n", std::nullopt},
        {"ASCII", "[frc]\r\nfrcTownIndex=27612\r\n", std::nullopt},
        {"a mark before bytes of 1251", "\xEF\xBB\xBF\xCC\xEE", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8SettingsAsCp1251(c.bytes), c.converted) << c.name;
}

TEST(Utf8Settings, TheOriginalStaysBesideTheRewrittenFile) {
    struct Case {
        const char* name;
        std::string bytes;
        bool failReplace;
        std::string after;
        bool copy;
    };
    const std::string utf8 = "\xEF\xBB\xBF[frc]\r\nfrcTownName=Тула\r\n";
    const Case cases[] = {
        {"converted", utf8, false, "[frc]\r\nfrcTownName=\xD2\xF3\xEB\xE0\r\n", true},
        {"no room for the copy: left alone", utf8, true, utf8, false},
        {"1251: untouched", "frcTownName=\xD2\xF3\xEB\xE0\r\n", false,
         "frcTownName=\xD2\xF3\xEB\xE0\r\n", false},
    };
    for (const auto& c : cases) {
        test::FakeFiles files;
        files.files[kIni] = {c.bytes, {}, false, false};
        files.failReplace = c.failReplace;
        ConvertUtf8Settings(files, kIni);
        EXPECT_EQ(files.files[kIni].content, c.after) << c.name;
        EXPECT_EQ(files.files.count(kIni + ".utf8"), c.copy ? 1U : 0U) << c.name;
        if (c.copy) {
            EXPECT_EQ(files.files[kIni + ".utf8"].content, c.bytes) << c.name;
        }
    }
    test::FakeFiles none;
    ConvertUtf8Settings(none, kIni);
    EXPECT_TRUE(none.files.empty());
}

}  // namespace
}  // namespace vt
