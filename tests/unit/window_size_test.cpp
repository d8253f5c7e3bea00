// The window size taken from the settings: sizes GLFW or the driver cannot have are replaced before the
// window opens, each with one line saying so; usable sizes pass untouched and silently.
#include "app/window_size.hpp"

#include <gtest/gtest.h>

#include <climits>

namespace {

Settings sized(int width, int height) {
    Settings settings;
    settings.width = width;
    settings.height = height;
    settings.volume = 0.25f;
    return settings;
}

} // namespace

TEST(WindowSize, UsableSizesPassUntouchedWithoutANote) {
    for (const auto& [w, h] : {std::pair{1, 1}, {160, 90}, {maxWindowDimension, maxWindowDimension}}) {
        std::vector<std::string> notes;
        const Settings s = withUsableWindowSize(sized(w, h), notes);
        EXPECT_EQ(s.width, w);
        EXPECT_EQ(s.height, h);
        EXPECT_TRUE(notes.empty()) << notes.front();
    }
}

TEST(WindowSize, ZeroOrNegativeTakesTheDefaultAndSaysSo) {
    std::vector<std::string> notes;
    const Settings s = withUsableWindowSize(sized(-5, 0), notes);
    EXPECT_EQ(s.width, 1920);
    EXPECT_EQ(s.height, 1080);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0], "Settings: width -5 is not a usable window size; using 1920 instead.");
    EXPECT_EQ(notes[1], "Settings: height 0 is not a usable window size; using 1080 instead.");
    EXPECT_FLOAT_EQ(s.volume, 0.25f) << "the other settings are kept";

    notes.clear();
    const Settings one = withUsableWindowSize(sized(INT_MIN, 90), notes);
    EXPECT_EQ(one.width, 1920);
    EXPECT_EQ(one.height, 90) << "one bad dimension leaves the other alone";
    EXPECT_EQ(notes.size(), 1u);
}

TEST(WindowSize, BeyondTheGuaranteedLimitIsLoweredToIt) {
    std::vector<std::string> notes;
    const Settings s = withUsableWindowSize(sized(99999999, INT_MAX), notes);
    EXPECT_EQ(s.width, maxWindowDimension);
    EXPECT_EQ(s.height, maxWindowDimension);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0], "Settings: width 99999999 is more than OpenGL 4.3 guarantees for the screen-sized "
                        "images; using 16384 instead.");
    EXPECT_NE(notes[1].find("height 2147483647"), std::string::npos) << notes[1];
}
