#include "win32/tray_pictures.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vt
