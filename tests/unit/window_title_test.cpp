// The title bar's rate and the screenshot key's file names: pure text and counting, no window.
#include "app/screenshot_key.hpp"
#include "app/window_title.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(FpsTitle, RenewsAboutTwiceASecondWithTheRateOfThatHalfSecond) {
    FpsTitle title;
    EXPECT_EQ(countFrameForTitle(title, 10.0), "") << "the first frame only starts the count";
    // 60 frames per second: 29 frames stay below half a second, the 30th reaches it.
    for (int frame = 1; frame < 30; ++frame)
        EXPECT_EQ(countFrameForTitle(title, 10.0 + frame / 60.0), "") << frame;
    EXPECT_EQ(countFrameForTitle(title, 10.5), "Duskvale - 60.0 fps");
    // A slow machine: every frame takes longer than the interval, so each renews the title.
    EXPECT_EQ(countFrameForTitle(title, 12.5), "Duskvale - 0.5 fps");
    EXPECT_EQ(countFrameForTitle(title, 12.75), "");
    EXPECT_EQ(countFrameForTitle(title, 13.0), "Duskvale - 4.0 fps");
}

TEST(ScreenshotKey, DatedNamesAndTheirSameSecondSuffixes) {
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 11;
    time.tm_mday = 7;
    time.tm_hour = 9;
    time.tm_min = 5;
    time.tm_sec = 3;
    EXPECT_EQ(datedScreenshotName(time, 1), "duskvale_2026-12-07_09-05-03.png");
    EXPECT_EQ(datedScreenshotName(time, 2), "duskvale_2026-12-07_09-05-03_2.png");

    // Two presses within one second must not overwrite the first picture.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "duskvale_shot_names";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    EXPECT_EQ(freeScreenshotPath(folder.string(), time),
              (folder / "duskvale_2026-12-07_09-05-03.png").string());
    std::ofstream(folder / "duskvale_2026-12-07_09-05-03.png") << "taken";
    std::ofstream(folder / "duskvale_2026-12-07_09-05-03_2.png") << "taken";
    EXPECT_EQ(freeScreenshotPath(folder.string(), time),
              (folder / "duskvale_2026-12-07_09-05-03_3.png").string());
    std::filesystem::remove_all(folder);
}
