#include "common/contrast.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

TEST(Contrast, RatiosAndTheHaloOfEachKindOfColour) {
    struct Case {
        Rgb8 a, b;
        double ratio;  // to two decimals
    };
    const Case ratios[] = {
        {{0, 0, 0}, {255, 255, 255}, 21.0},
        {{255, 255, 255}, {0, 0, 0}, 21.0},
        {{128, 128, 128}, {128, 128, 128}, 1.0},
        {{128, 128, 128}, {255, 255, 255}, 3.95},  // the usual grey on white
        {{32, 32, 32}, {243, 243, 243}, 14.68},    // the two taskbars
    };
    for (const Case& c : ratios) {
        EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, 0.01) << int(c.a.r) << " " << int(c.b.r);
    }
    struct Halo {
        Rgb8 colour, halo;
    };
    const Halo halos[] = {
        {{0, 0, 0}, {255, 255, 255}},   {{0, 0, 128}, {255, 255, 255}},
        {{128, 0, 0}, {255, 255, 255}}, {{255, 255, 0}, {0, 0, 0}},
        {{255, 255, 255}, {0, 0, 0}},   {{0, 255, 0}, {0, 0, 0}},
        {{255, 0, 0}, {0, 0, 0}},  // red reads better on black (5.25) than on white (4.0)
    };
    for (const Halo& h : halos) EXPECT_EQ(ContrastingHalo(h.colour), h.halo) << int(h.colour.r);
}

}  // namespace
}  // namespace vt
