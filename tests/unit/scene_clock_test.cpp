// The scene clock under pause and the flight's restart under --loop: what stands still, what runs on,
// and what a new lap starts from.
#include "app/scene_clock.hpp"

#include <gtest/gtest.h>

namespace {

FrameTime frameAt(float now, float deltaTime) {
    FrameTime time;
    time.now = now;
    time.deltaTime = deltaTime;
    return time;
}

} // namespace

TEST(SceneClock, StandsStillWhileHeldAndRunsOnFromWhereItStopped) {
    struct Step {
        float now, delta;
        bool held;
        float sceneNow, sceneDelta;
    };
    // Frames 0.5 s apart; held for the frames at 2.0 and 2.5.
    const Step steps[] = {
        {1.0f, 0.5f, false, 1.0f, 0.5f}, {1.5f, 0.5f, false, 1.5f, 0.5f}, {2.0f, 0.5f, true, 1.5f, 0.0f},
        {2.5f, 0.5f, true, 1.5f, 0.0f},  {3.0f, 0.5f, false, 2.0f, 0.5f}, {3.5f, 0.5f, false, 2.5f, 0.5f},
    };
    SceneClock clock;
    for (const Step& step : steps) {
        const FrameTime scene = advanceSceneClock(clock, frameAt(step.now, step.delta), step.held);
        EXPECT_FLOAT_EQ(scene.now, step.sceneNow) << "frame at " << step.now;
        EXPECT_FLOAT_EQ(scene.deltaTime, step.sceneDelta) << "frame at " << step.now;
    }
}

TEST(SceneClock, NeverHeldItIsTheFrameClockExactly) {
    SceneClock clock;
    for (float now : {0.1f, 1234.567f, 90000.125f}) {
        const FrameTime scene = advanceSceneClock(clock, frameAt(now, 0.016f), false);
        EXPECT_EQ(scene.now, now);
        EXPECT_EQ(scene.deltaTime, 0.016f);
    }
}

TEST(FlightLoop, RestartsAtTheEndWithTheOvershootAndAFreshCharacter) {
    CharacterScript script = makeCharacterScript();
    script.characterMatrixA[3].z += 40.0f; // walked a long way in the first lap
    SoundCues cues{true, true};

    float flightTime = 91.4f;
    EXPECT_FALSE(restartFlightAtEnd(flightTime, 91.5f, script, cues));
    EXPECT_FLOAT_EQ(flightTime, 91.4f);
    EXPECT_TRUE(cues.singleShotPlayed) << "nothing restarts before the end";

    flightTime = 91.75f;
    EXPECT_TRUE(restartFlightAtEnd(flightTime, 91.5f, script, cues));
    EXPECT_FLOAT_EQ(flightTime, 0.25f);
    EXPECT_EQ(script.characterMatrixA, makeCharacterScript().characterMatrixA);
    EXPECT_FALSE(cues.singleShotPlayed) << "the single shot fires again in the new lap";
    EXPECT_TRUE(cues.loopPlayed) << "the looped sound of the first lap still plays; a second would stack";
    EXPECT_TRUE(advanceSoundCues(cues, 15.5f).playSingleShot);
}
