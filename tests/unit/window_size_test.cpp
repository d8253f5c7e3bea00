// The window size taken from the settings: sizes below 1 take the default and sizes beyond the limit
// are lowered to it, one note per replaced dimension; the limits themselves pass silently. (The notes'
// texts are checked on the real viewer by the settings robustness script.)
#include "app/window_size.hpp"

#include <gtest/gtest.h>

#include <climits>

TEST(WindowSize, EachDimensionIsCheckedOnItsOwnAtBothLimits) {
    const struct {
        int width, height, expectedWidth, expectedHeight;
        size_t notes;
    } rows[] = {
        {1, 1, 1, 1, 0},
        {maxWindowDimension, 90, maxWindowDimension, 90, 0},
        {0, 90, 1920, 90, 1},
        {160, -5, 160, 1080, 1},
        {INT_MIN, 0, 1920, 1080, 2},
        {maxWindowDimension + 1, INT_MAX, maxWindowDimension, maxWindowDimension, 2},
    };
    for (const auto& row : rows) {
        Settings settings;
        settings.width = row.width;
        settings.height = row.height;
        settings.volume = 0.25f;
        std::vector<std::string> notes;
        const Settings s = withUsableWindowSize(settings, notes);
        EXPECT_EQ(s.width, row.expectedWidth) << row.width;
        EXPECT_EQ(s.height, row.expectedHeight) << row.height;
        EXPECT_EQ(notes.size(), row.notes) << row.width << " x " << row.height;
        EXPECT_FLOAT_EQ(s.volume, 0.25f) << "the other settings are kept";
    }
}
