// The scene clock under pause and the flight's restart under --loop: what stands still, what runs on,
// and what a new lap starts from.
#include "app/scene_clock.hpp"

#include <gtest/gtest.h>

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
