#include "win32/tray_pictures.h"

#include <gtest/gtest.h>

#include <string>

#include "icon_pixels.h"

namespace vt {
namespace {

TEST(LoadTrayPicture, EveryPictureOfBothStylesAtEverySize) {
    for (bool light : {false, true}) {
        for (int picture = 0; picture < 12; ++picture) {
            for (int size : {16, 20, 24, 32}) {
                UniqueIcon icon = LoadTrayPicture(picture, light, size);
                ASSERT_TRUE(icon) << picture << (light ? " light " : " dark ") << size;
                ICONINFO info = {};
                ASSERT_TRUE(GetIconInfo(icon.Get(), &info));
                BITMAP bm = {};
                GetObjectW(info.hbmColor, sizeof bm, &bm);
                EXPECT_EQ(bm.bmWidth, size);
                DeleteObject(info.hbmColor);
                DeleteObject(info.hbmMask);
            }
        }
    }
}

// Every picture of both styles reads on the dark and on the light taskbar: its edge, or the
// pixel inside it, stands out 3:1.
TEST(LoadTrayPicture, EveryPictureReadsOnBothTaskbars) {
    const Rgb8 dark{32, 32, 32}, light{243, 243, 243};
    for (bool lightStyle : {false, true}) {
        for (int picture = 0; picture < 12; ++picture) {
            for (int size : {16, 20, 24, 32}) {
                const std::string where = std::to_string(picture) +
                                          (lightStyle ? " light " : " dark ") +
                                          std::to_string(size);
                const UniqueIcon icon = LoadTrayPicture(picture, lightStyle, size);
                ASSERT_TRUE(icon) << where;
                const test::Pixels p = test::Read(icon.Get(), size);
                EXPECT_GE(test::ReadableEdge(p, dark), 0.9) << where << " on the dark taskbar";
                EXPECT_GE(test::ReadableEdge(p, light), 0.9) << where << " on the light taskbar";
            }
        }
    }
}

}  // namespace
}  // namespace vt
