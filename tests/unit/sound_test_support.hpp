// Helpers for the sound tests: SDL's audio is process-wide, so every case that opens it runs in a child
// process of its own; these fork the child, capture what it prints and what the disk driver writes, and
// read and measure 16-bit audio.
#pragma once

#include "app/sound_engine.hpp"

#include <SDL2/SDL.h>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace soundtest {

struct ChildResult {
    int exitCode = -1;  // -1 when the child did not exit normally (crash, signal)
    std::string output; // its standard output and standard error together
};

// Runs body in a forked child with stdout and stderr redirected to a file; body's result is the exit code.
inline ChildResult runInChild(const std::function<int()>& body, const std::string& outputPath) {
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        close(fd);
        const int code = body();
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(code);
    }
    ChildResult result;
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    {
        std::ifstream in(outputPath, std::ios::binary);
        result.output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::remove(outputPath.c_str());
    return result;
}

// Raw little-endian 16-bit samples (this host's order, as everywhere the tests run).
inline std::vector<int16_t> readRawS16(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    if (!samples.empty()) // an empty vector's data() may be null, which memcpy must never get
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

// RMS of samples [begin, end) as a fraction of full scale.
inline double rms(const std::vector<int16_t>& samples, size_t begin, size_t end) {
    double sum = 0;
    for (size_t i = begin; i < end; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return end > begin ? std::sqrt(sum / static_cast<double>(end - begin)) / 32768.0 : 0.0;
}

// Index of the first sample whose magnitude exceeds threshold, or samples.size().
inline size_t firstAudible(const std::vector<int16_t>& samples, int threshold = 0) {
    for (size_t i = 0; i < samples.size(); ++i)
        if (std::abs(samples[i]) > threshold)
            return i;
    return samples.size();
}

// A file name in the test temp folder private to this process, so that tests run in parallel (one
// process each under ctest) never share a capture or a fixture.
inline std::string privateTempPath(const std::string& name) {
    return ::testing::TempDir() + "duskvale_sound_" + std::to_string(getpid()) + "_" + name;
}

inline long long fileSize(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

enum CaptureExit { captured = 0, noEngine = 3, captureTooShort = 4 };

struct Capture {
    ChildResult child;            // exit code is a CaptureExit when the child ran to its end
    std::vector<int16_t> samples; // interleaved left, right
};

// In a child process: selects the audio driver (null leaves SDL to choose), sends the disk driver's
// output to rawPath as fast as it can mix, creates an engine, hands it to `start` (also when it is null,
// as the viewer would; all its plays start in one mix), and lets the device write `seconds` of audio after
// that before closing it.
inline Capture captureSoundRun(const std::string& rawPath, const char* driver, double seconds,
                               const std::function<void(SoundEngine*)>& start) {
    std::remove(rawPath.c_str());
    Capture capture;
    capture.child = runInChild(
        [&] {
            if (driver)
                setenv("SDL_AUDIODRIVER", driver, 1);
            else
                unsetenv("SDL_AUDIODRIVER");
            setenv("SDL_DISKAUDIOFILE", rawPath.c_str(), 1);
            setenv("SDL_DISKAUDIODELAY", "0", 1);
            SoundEngine* engine =
                createSoundEngine(soundDriverAutomatic, soundDefaultOptions, nullptr, "1.6.0");
            // The disk driver mixes as fast as it can, so the plays are started under the device's
            // lock: they all begin in the same mix, however long one of them takes to load.
            if (engine)
                SDL_LockAudio();
            start(engine);
            if (engine)
                SDL_UnlockAudio();
            if (!engine)
                return static_cast<int>(noEngine);
            const long long wanted = fileSize(rawPath) + static_cast<long long>(seconds * 44100) * 4;
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (fileSize(rawPath) < wanted && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            destroySoundEngine(engine);
            return static_cast<int>(fileSize(rawPath) >= wanted ? captured : captureTooShort);
        },
        rawPath + ".out");
    capture.samples = readRawS16(rawPath);
    std::remove(rawPath.c_str());
    return capture;
}

// A 16-bit stereo 44.1 kHz WAV file holding a sine of the given amplitude (fraction of full scale).
inline void writeToneWav(const std::string& path, double hz, double seconds, double amplitude) {
    const auto frames = static_cast<uint32_t>(seconds * 44100);
    // "RIFF" size "WAVE" "fmt " 16, PCM with 2 channels, rate, byte rate, 4-byte frames of 16 bits, "data"
    // size.
    const uint32_t header[] = {0x46464952, 36 + frames * 4, 0x45564157, 0x20746d66, 16,        0x00020001,
                               44100,      44100 * 4,       0x00100004, 0x61746164, frames * 4};
    std::vector<int16_t> samples(frames * 2);
    for (uint32_t n = 0; n < frames; ++n)
        samples[2 * n] = samples[2 * n + 1] = static_cast<int16_t>(
            std::lrint(amplitude * std::sin(6.283185307179586 * hz * n / 44100.0) * 32767));
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    out.write(reinterpret_cast<const char*>(samples.data()),
              static_cast<std::streamsize>(samples.size() * 2));
}
} // namespace soundtest
