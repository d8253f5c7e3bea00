// The recorder's pure parts: how many frames a flight takes, frame names, the ffmpeg command with its
// sound mix, the progress line, and the options that go with --record.
#include "app/options.hpp"
#include "app/recorder.hpp"

#include <gtest/gtest.h>

#include <string>

TEST(Recording, FrameCountFollowsTheFlightClockInFloatSteps) {
    // Float steps of 1/30 s land just short of 91.5 after 2745 additions, so the frame loop, whose flight
    // clock adds the same steps, runs one more frame.
    EXPECT_EQ(recordingFrameCount(91.5f, 30), 2746);
    EXPECT_EQ(recordingFrameCount(91.5f, 2), 183);
    EXPECT_EQ(recordingFrameName(1), "frame_00001.png");
    EXPECT_EQ(recordingFrameName(2745), "frame_02745.png");
}

TEST(Recording, EncoderMixesTheMusicAndBothCuesAtTheirFlightTimes) {
    const RecordingPlan plan{"out", 30, 1280, 720, 0.25f};
    const std::string cmd = encoderCommand(plan, "/usr/bin/ffmpeg", "/v/flight.mp4", "/a/music.mp3",
                                           "/a/it's.mp3", 15.0f, 59.0f, 91.5f);
    for (const char* part :
         {"-f rawvideo -pix_fmt rgb24 -s 1280x720 -r 30 -i -", "-stream_loop -1 -i '/a/music.mp3'",
          "adelay=15000:all=1", "adelay=59000:all=1", "volume=0.250", "amix=inputs=3", "-c:v libx264",
          "-pix_fmt yuv420p", "-t 91.500", "'/v/flight.mp4'", "'/a/it'\\''s.mp3'"})
        EXPECT_NE(cmd.find(part), std::string::npos) << part << "\n" << cmd;

    const std::string silent = encoderCommand(plan, "ffmpeg", "/v/flight.mp4", "", "", 15.0f, 59.0f, 10.0f);
    EXPECT_EQ(silent.find("-filter_complex"), std::string::npos) << silent;
    EXPECT_EQ(silent.find("-map"), std::string::npos) << silent;
}

TEST(Recording, ProgressLineSaysFrameElapsedAndRemaining) {
    EXPECT_EQ(recordingProgress(10, 100, 5.0), "recording frame 10 of 100, 0:05 elapsed, about 0:45 left");
    EXPECT_EQ(recordingProgress(100, 100, 125.0),
              "recording frame 100 of 100, 2:05 elapsed, about 0:00 left");
    // Before the first frame there is nothing to estimate from.
    EXPECT_EQ(recordingProgress(0, 100, 3.0), "recording frame 0 of 100, 0:03 elapsed");
}

TEST(Recording, OptionsStepTheClockByOneFrameAndRefuseConflicts) {
    const ParsedOptions plain = parseOptions({"--record", "out"});
    ASSERT_EQ(plain.error, "");
    EXPECT_EQ(plain.options.fps, 30);
    EXPECT_FLOAT_EQ(plain.options.fixedStep, 1.0f / 30.0f);
    EXPECT_FLOAT_EQ(parseOptions({"--record", "out", "--fps", "10"}).options.fixedStep, 0.1f);
    EXPECT_NE(parseOptions({"--fps", "10"}).error.find("--record"), std::string::npos);
    EXPECT_NE(parseOptions({"--record", "out", "--fixed-step", "0.1"}).error.find("--fixed-step"),
              std::string::npos);
    EXPECT_NE(parseOptions({"--record", "out", "--fps", "0"}).error, "");
    EXPECT_EQ(parseOptions({"--record", "out", "--fps", "240"}).error, "") << "240 is the highest rate";
    EXPECT_NE(parseOptions({"--record", "out", "--fps", "241"}).error, "");
}
