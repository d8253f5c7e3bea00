// Frame timing and what follows it: the wall clock's differences (the fixed step is checked by the flight
// script), the scene clock under pause, the flight's restart under --loop, the title's frame rate and
// the screenshot key's file names.
#include "app/frame_clock.hpp"
#include "app/scene_clock.hpp"
#include "app/screenshot_key.hpp"
#include "app/window_title.hpp"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

TEST(FrameClock, FollowsTheWallClockFromTheStartReading) {
    FrameClock clock = startFrameClock(0.0f, 10.0);
    FrameTime t = tickFrameClock(clock, 10.25);
    EXPECT_FLOAT_EQ(t.now, 10.25f);
    EXPECT_FLOAT_EQ(t.deltaTime, 0.25f);
    t = tickFrameClock(clock, 11.0);
    EXPECT_FLOAT_EQ(t.deltaTime, 0.75f);
}

TEST(SceneClock, StandsStillWhileHeldAndRunsOnFromWhereItStopped) {
    struct Step {
        float now;
        bool held;
        float sceneNow, sceneDelta;
    };
    // Frames 0.5 s apart on the frame clock; held for the frames at 2.0 and 2.5.
    const Step steps[] = {{1.0f, false, 1.0f, 0.5f}, {1.5f, false, 1.5f, 0.5f}, {2.0f, true, 1.5f, 0.0f},
                          {2.5f, true, 1.5f, 0.0f},  {3.0f, false, 2.0f, 0.5f}, {3.5f, false, 2.5f, 0.5f}};
    SceneClock clock;
    for (const Step& step : steps) {
        const FrameTime scene = advanceSceneClock(clock, FrameTime{step.now, 0.5f}, step.held);
        EXPECT_FLOAT_EQ(scene.now, step.sceneNow) << "frame at " << step.now;
        EXPECT_FLOAT_EQ(scene.deltaTime, step.sceneDelta) << "frame at " << step.now;
    }
}

TEST(FlightLoop, RestartsAtTheEndWithTheOvershootAndAFreshCharacter) {
    CharacterScript script = makeCharacterScript();
    script.characterMatrixA[3].z += 40.0f; // walked a long way in the first lap
    SoundCues cues{true, true};
    float flightTime = 91.4f;
    EXPECT_FALSE(restartFlightAtEnd(flightTime, 91.5f, script, cues));
    EXPECT_TRUE(cues.singleShotPlayed) << "nothing restarts before the end";

    flightTime = 91.75f;
    EXPECT_TRUE(restartFlightAtEnd(flightTime, 91.5f, script, cues));
    EXPECT_FLOAT_EQ(flightTime, 0.25f);
    EXPECT_EQ(script.characterMatrixA, makeCharacterScript().characterMatrixA);
    EXPECT_TRUE(advanceSoundCues(cues, 15.5f).playSingleShot) << "the single shot fires again";
    EXPECT_FALSE(advanceSoundCues(cues, 60.0f).playLoop) << "the first lap's loop still plays; no second";
}

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
