// Writing the recorded frames and driving ffmpeg through a pipe.
#include "app/recorder.hpp"

#include "app/screenshot.hpp"
#include "app/sound_cues.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace {

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string seconds3(float seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(seconds));
    return text;
}

std::string clock(double seconds) {
    const long long whole = static_cast<long long>(std::llround(std::max(0.0, seconds)));
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

std::string absolutePathIfExists(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return "";
    return std::filesystem::absolute(path, error).string();
}

} // namespace

long long recordingFrameCount(float seconds, int fps) {
    // The flight clock adds the step in float, exactly as the frame loop does.
    const float step = 1.0f / static_cast<float>(fps);
    float flight = 0.0f;
    long long frames = 0;
    while (flight < seconds) {
        flight += step;
        ++frames;
    }
    return frames;
}

std::string recordingFrameName(long long frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05lld.png", frame);
    return name;
}

std::string encoderCommand(const RecordingPlan& plan, const std::string& ffmpeg, const std::string& videoPath,
                           const std::string& music, const std::string& characterSound, float singleShotAt,
                           float loopAt, float seconds) {
    std::ostringstream cmd;
    cmd << quoted(ffmpeg) << " -hide_banner -loglevel error -y -f rawvideo -pix_fmt rgb24 -s " << plan.width
        << "x" << plan.height << " -r " << plan.fps << " -i -";
    std::vector<std::string> mixInputs;
    std::string filters;
    int input = 1;
    const std::string volume = seconds3(plan.volume);
    if (!music.empty()) {
        cmd << " -stream_loop -1 -i " << quoted(music);
        filters += "[" + std::to_string(input++) + ":a]volume=" + volume + "[music];";
        mixInputs.push_back("[music]");
    }
    if (!characterSound.empty()) {
        const auto delayMs = [](float at) {
            return std::to_string(static_cast<long long>(std::lround(at * 1000.0f)));
        };
        cmd << " -i " << quoted(characterSound) << " -stream_loop -1 -i " << quoted(characterSound);
        filters += "[" + std::to_string(input++) + ":a]adelay=" + delayMs(singleShotAt) +
                   ":all=1,volume=" + volume + "[shot];";
        filters += "[" + std::to_string(input++) + ":a]adelay=" + delayMs(loopAt) +
                   ":all=1,volume=" + volume + "[loop];";
        mixInputs.push_back("[shot]");
        mixInputs.push_back("[loop]");
    }
    if (!mixInputs.empty()) {
        for (const std::string& in : mixInputs)
            filters += in;
        filters += "amix=inputs=" + std::to_string(mixInputs.size()) + ":duration=longest:normalize=0[audio]";
        cmd << " -filter_complex " << quoted(filters) << " -map 0:v -map [audio] -c:a aac -b:a 160k";
    }
    cmd << " -c:v libx264 -preset veryfast -crf 20 -pix_fmt yuv420p -t " << seconds3(seconds) << " "
        << quoted(videoPath);
    return cmd.str();
}

std::string recordingProgress(long long frame, long long total, double elapsedSeconds) {
    std::ostringstream line;
    line << "recording frame " << frame << " of " << total << ", " << clock(elapsedSeconds) << " elapsed";
    if (frame > 0 && total >= frame)
        line << ", about "
             << clock(elapsedSeconds / static_cast<double>(frame) * static_cast<double>(total - frame))
             << " left";
    return line.str();
}

std::string findOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (!path)
        return "";
    std::stringstream folders(path);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return "";
}

bool startRecording(Recorder& recorder, const RecordingPlan& plan) {
    recorder.plan = plan;
    recorder.start = std::chrono::steady_clock::now();
    std::error_code error;
    std::filesystem::create_directories(plan.dir, error);
    if (error || !std::filesystem::is_directory(plan.dir)) {
        std::cerr << "Cannot record into '" << plan.dir << "': " << error.message() << "." << std::endl;
        return false;
    }
    const std::string ffmpeg = findOnPath("ffmpeg");
    if (ffmpeg.empty()) {
        std::cerr << "ffmpeg is not on PATH: recording PNG frames only (no video)." << std::endl;
        return true;
    }
    recorder.videoPath = (std::filesystem::absolute(plan.dir, error) / "flight.mp4").string();
    const std::string command =
        encoderCommand(plan, ffmpeg, recorder.videoPath, absolutePathIfExists(backgroundMusicFile),
                       absolutePathIfExists(characterSoundFile), singleShotCueTime, loopCueTime,
                       static_cast<float>(recorder.expectedFrames) / static_cast<float>(plan.fps));
    recorder.encoder = popen(command.c_str(), "w");
    if (!recorder.encoder)
        std::cerr << "Could not start ffmpeg: recording PNG frames only (no video)." << std::endl;
    return true;
}

void recordFrame(Recorder& recorder, long long frame, const std::vector<unsigned char>& pixels) {
    const RecordingPlan& plan = recorder.plan;
    const std::string path = (std::filesystem::path(plan.dir) / recordingFrameName(frame)).string();
    if (!writePng(path, plan.width, plan.height, pixels) && !recorder.failed) {
        std::cerr << "\nCould not write " << path << "; the recording goes on." << std::endl;
        recorder.failed = true;
    }
    if (recorder.encoder && std::fwrite(pixels.data(), 1, pixels.size(), recorder.encoder) != pixels.size()) {
        std::cerr << "\nffmpeg stopped taking frames; the video will be incomplete." << std::endl;
        pclose(recorder.encoder);
        recorder.encoder = nullptr;
        recorder.failed = true;
    }
    recorder.framesWritten = frame;
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - recorder.start).count();
    std::cerr << "\r" << recordingProgress(frame, recorder.expectedFrames, elapsed) << "   " << std::flush;
}

bool finishRecording(Recorder& recorder) {
    std::cerr << std::endl;
    bool videoOk = true;
    if (recorder.encoder) {
        videoOk = pclose(recorder.encoder) == 0;
        recorder.encoder = nullptr;
        if (!videoOk)
            std::cerr << "ffmpeg failed to finish " << recorder.videoPath << "." << std::endl;
    }
    std::cerr << "Recorded " << recorder.framesWritten << " frames into " << recorder.plan.dir;
    if (!recorder.videoPath.empty() && videoOk)
        std::cerr << " and the video " << recorder.videoPath;
    std::cerr << "." << std::endl;
    return videoOk && !recorder.failed;
}
