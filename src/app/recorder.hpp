// Offline recording of the automatic flight: every frame rendered at a fixed step of 1/fps seconds is
// written as a numbered PNG and, when ffmpeg is on PATH, piped into an H.264 video with the music and
// the character's cues mixed in at the flight times they play.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

struct RecordingPlan {
    std::string dir;
    int fps = 30;
    int width = 0;
    int height = 0;
    float volume = 1.0f; // the settings' volume, applied to the mixed-in sound
};

struct Recorder {
    RecordingPlan plan;
    long long expectedFrames = 0;
    long long framesWritten = 0;
    std::FILE* encoder = nullptr; // ffmpeg's standard input; null when writing PNG frames only
    std::string videoPath;
    bool failed = false;
    std::chrono::steady_clock::time_point start;
};

// Frames a flight of `seconds` takes at `fps`: the loop runs while the flight clock is below its end.
long long recordingFrameCount(float seconds, int fps);

// "frame_00001.png" for frame 1.
std::string recordingFrameName(long long frame);

// The ffmpeg command that reads raw RGB frames from standard input and writes the video. The audio
// files are added only when given (empty path: left out): the music loops from the start, the single
// shot starts at `singleShotAt` seconds and the loop at `loopAt`, all at `plan.volume`.
std::string encoderCommand(const RecordingPlan& plan, const std::string& ffmpeg, const std::string& videoPath,
                           const std::string& music, const std::string& characterSound, float singleShotAt,
                           float loopAt, float seconds);

// "recording frame 12 of 2745, 3.4 s elapsed, about 1:20 left" for the in-place progress line.
std::string recordingProgress(long long frame, long long total, double elapsedSeconds);

// The full path of a program found on PATH, or empty.
std::string findOnPath(const std::string& program);

// Creates the folder and starts ffmpeg when it is there. False, after one line on standard error, when
// the folder cannot be made.
bool startRecording(Recorder& recorder, const RecordingPlan& plan);

// Writes frame `frame` (from 1) of upright RGB pixels and updates the progress line.
void recordFrame(Recorder& recorder, long long frame, const std::vector<unsigned char>& pixels);

// Closes the video and says where the frames and the video are. False when anything failed.
bool finishRecording(Recorder& recorder);
