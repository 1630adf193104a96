#include <gtest/gtest.h>

#include "graph/scale_mapping.h"
#include "graph/time_text.h"

namespace volt {
namespace {

TEST(ScaleMapping, MapsRangeOntoFixedAxisAndBack) {
    struct Case {
        double value, min, max, axis;
    };
    const Case cases[] = {
        {1200, 1100, 1600, 200},  // a charge run's first voltage sample
        {5, 3, 3, 2},             // equal bounds: factor 1
        {1100, 1100, 1600, 0},
        {1600, 1100, 1600, 1000},
        {1700, 1100, 1600, 1200},  // above the maximum: not clipped
        {1000, 1100, 1600, -200},  // below the minimum: negative
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ScaleToAxis(c.value, c.min, c.max), c.axis) << c.value;
        if (c.min != c.max) {
            EXPECT_DOUBLE_EQ(AxisToValue(c.axis, c.min, c.max), c.value) << c.axis;
        }
    }
}

TEST(TimeText, FormatsElapsedSeconds) {
    struct Case {
        int seconds;
        const char* text;
    };
    const Case cases[] = {
        {0, "00:00"},      {59, "00:59"},         {309, "05:09"},
        {3600, "1:00:00"}, {3909, "1:05:09"},     {28800, "8:00:00"},
        {-61, "01:01"},    {360000, "100:00:00"}, {-3661, "1:01:01"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TimeText(c.seconds), c.text) << c.seconds;
    }
}

TEST(PadNumber, CutsThenPads) {
    EXPECT_EQ(PadNumber(5, 2), "05");
    EXPECT_EQ(PadNumber(7, 2), "07");
    EXPECT_EQ(PadNumber(123, 2), "12");
    EXPECT_EQ(PadNumber(0, 3), "000");
}

}  // namespace
}  // namespace volt
