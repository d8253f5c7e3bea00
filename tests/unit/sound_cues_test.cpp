// The character sound cues: strict thresholds, both in one frame after a stall, each at most once per
// run however the flight clock moves.
#include "app/sound_cues.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Fired {
    int singleShots = 0;
    int loops = 0;
};

// Feeds a sequence of frame flight times and counts what fires, checking the order within a frame.
Fired runFrames(SoundCues& cues, const std::vector<float>& flightTimes) {
    Fired fired;
    for (float t : flightTimes) {
        const SoundCueActions actions = advanceSoundCues(cues, t);
        fired.singleShots += actions.playSingleShot;
        fired.loops += actions.playLoop;
    }
    return fired;
}

} // namespace

// Both thresholds are strict; a stall past both fires both in one frame.
TEST(SoundCues, ThresholdsAreStrictAndAStallPastBothFiresBothInOneFrame) {
    SoundCues cues;
    EXPECT_FALSE(advanceSoundCues(cues, 0.0f).playSingleShot);
    EXPECT_FALSE(advanceSoundCues(cues, 15.0f).playSingleShot);
    EXPECT_TRUE(advanceSoundCues(cues, 15.001f).playSingleShot);
    EXPECT_FALSE(advanceSoundCues(cues, 59.0f).playLoop);
    const SoundCueActions atLoop = advanceSoundCues(cues, 59.001f);
    EXPECT_TRUE(atLoop.playLoop);
    EXPECT_FALSE(atLoop.playSingleShot);

    SoundCues stalled;
    EXPECT_FALSE(advanceSoundCues(stalled, 14.9f).playSingleShot);
    const SoundCueActions both = advanceSoundCues(stalled, 60.0f);
    EXPECT_TRUE(both.playSingleShot && both.playLoop);
    EXPECT_TRUE(stalled.singleShotPlayed && stalled.loopPlayed);
}

TEST(SoundCues, EachCueFiresOnceAcrossAWholeFlightWithPauses) {
    // A fixed-step flight to the end, with the clock frozen (automatic camera toggled off) for a while
    // after each cue, then resumed.
    std::vector<float> flight;
    for (int frame = 0; frame <= 91 * 60; ++frame) {
        const float t = frame / 60.0f;
        flight.push_back(t);
        if (frame == 16 * 60 || frame == 60 * 60)
            flight.insert(flight.end(), 600, t);
    }
    SoundCues cues;
    const Fired fired = runFrames(cues, flight);
    EXPECT_EQ(fired.singleShots, 1);
    EXPECT_EQ(fired.loops, 1);

    // The automatic camera off from the start: the flight clock stays at zero and nothing fires.
    SoundCues still;
    const Fired none = runFrames(still, std::vector<float>(1000, 0.0f));
    EXPECT_EQ(none.singleShots + none.loops, 0);
}

TEST(SoundCues, RunningWithoutAnEngineOnlyMarksTheCues) {
    SoundCues cues;
    runSoundCues(cues, nullptr, 70.0f);
    startBackgroundMusic(nullptr, 0.5f);
    EXPECT_TRUE(cues.singleShotPlayed);
    EXPECT_TRUE(cues.loopPlayed);
}
