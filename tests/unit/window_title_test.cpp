// The title bar's rate and the screenshot key's file names: pure text and counting, no window.
#include "app/screenshot_key.hpp"
#include "app/window_title.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(FpsTitle, RenewsAboutTwiceASecondWithTheRateOfThatHalfSecond) {
    FpsTitle title;
    EXPECT_EQ(countFrameForTitle(title, 10.0), "") << "the first frame only starts the count";
    for (int frame = 1; frame < 30; ++frame) // 60 frames a second: the 30th reaches half a second
        EXPECT_EQ(countFrameForTitle(title, 10.0 + frame / 60.0), "") << frame;
    EXPECT_EQ(countFrameForTitle(title, 10.5), "Duskvale - 60.0 fps");
    EXPECT_EQ(countFrameForTitle(title, 12.5), "Duskvale - 0.5 fps") << "a slow frame renews it at once";
}

TEST(ScreenshotKey, TwoPicturesInOneSecondGetTwoNames) {
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 11;
    time.tm_mday = 7;
    time.tm_hour = 9;
    time.tm_min = 5;
    time.tm_sec = 3;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "duskvale_shot_names";
    std::filesystem::create_directories(folder);
    const std::string first = freeScreenshotPath(folder.string(), time);
    EXPECT_EQ(first, (folder / "duskvale_2026-12-07_09-05-03.png").string());
    std::ofstream(first) << "taken";
    EXPECT_EQ(freeScreenshotPath(folder.string(), time),
              (folder / "duskvale_2026-12-07_09-05-03_2.png").string());
    std::filesystem::remove_all(folder);
}
