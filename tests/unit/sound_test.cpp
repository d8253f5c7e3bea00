// The sound layer and the generated music, heard in child processes (SDL's audio is process-wide) through
// SDL's disk driver, which writes the mix as raw 16-bit stereo at 44.1 kHz: volume on streamed music and
// decoded sounds alike, overlap, the silent cases, and a music loop without gap or click.
#include "app/sound_engine.hpp"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {

struct ChildResult {
    int exitCode = -1;  // -1 when the child did not exit normally (crash, signal)
    std::string output; // its standard output and standard error together
};

// Runs body in a forked child with stdout and stderr redirected to a file; body's result is the exit code.
ChildResult runInChild(const std::function<int()>& body, const std::string& outputPath) {
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
std::vector<int16_t> readRawS16(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    if (!samples.empty()) // an empty vector's data() may be null, which memcpy must never get
        std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

// A file name in the test temp folder private to this process, so that tests run in parallel (one
// process each under ctest) never share a capture or a fixture.
std::string privateTempPath(const std::string& name) {
    return ::testing::TempDir() + "duskvale_sound_" + std::to_string(getpid()) + "_" + name;
}

long long fileSize(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? -1 : static_cast<long long>(size);
}

enum CaptureExit { captured = 0, noEngine = 3, captureTooShort = 4 };

// A 16-bit stereo 44.1 kHz WAV file holding a sine of amplitude 0.5 (fraction of full scale), whole
// cycles long, so that it loops without a click.
void writeToneWav(const std::string& path, double hz, double seconds) {
    const auto frames = static_cast<uint32_t>(seconds * 44100);
    // "RIFF" size "WAVE" "fmt " 16, PCM with 2 channels, rate, byte rate, 4-byte frames of 16 bits, "data"
    // size.
    const uint32_t header[] = {0x46464952, 36 + frames * 4, 0x45564157, 0x20746d66, 16,        0x00020001,
                               44100,      44100 * 4,       0x00100004, 0x61746164, frames * 4};
    std::vector<int16_t> samples(frames * 2);
    for (uint32_t n = 0; n < frames; ++n)
        samples[2 * n] = samples[2 * n + 1] =
            static_cast<int16_t>(std::lrint(0.5 * std::sin(6.283185307179586 * hz * n / 44100.0) * 32767));
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    out.write(reinterpret_cast<const char*>(samples.data()),
              static_cast<std::streamsize>(samples.size() * 2));
}

struct Play {
    std::string file;
    bool looped;
};

struct Capture {
    ChildResult child;            // exit code is a CaptureExit when the child ran to its end
    std::vector<int16_t> samples; // interleaved left, right
};

// In a child process: selects the audio driver (null leaves SDL to choose), sends the disk driver's
// output to a file as fast as it can mix, creates an engine, sets the volume and starts the plays (also
// without an engine, as the viewer would), and lets the device write `seconds` of audio after that.
Capture captureEngine(const char* driver, float volume, const std::vector<Play>& plays, double seconds) {
    const std::string rawPath = privateTempPath("capture.raw");
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
            // lock: they all begin in the same mix, however long one of them takes to load. SDL_mixer
            // keeps its device id to itself, and SDL_LockAudio would lock the legacy device 1, which
            // is never open; the mixer's is the one open device, numbered from 2.
            SDL_AudioDeviceID device = 2;
            while (engine && device < 32 && SDL_GetAudioDeviceStatus(device) == SDL_AUDIO_STOPPED)
                ++device;
            SDL_LockAudioDevice(device);
            setSoundVolume(engine, volume);
            for (const Play& play : plays)
                play2D(engine, play.file.c_str(), play.looped, false, false, soundStreamAutomatic, false);
            SDL_UnlockAudioDevice(device);
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

// RMS over 1.5 s of stereo samples as a fraction of full scale, starting `skip` seconds after the first
// audible sample; 0 when nothing was audible.
double rmsAfterOnset(const Capture& capture, double skip) {
    const std::vector<int16_t>& samples = capture.samples;
    size_t begin = 0;
    while (begin < samples.size() && samples[begin] == 0)
        ++begin;
    if (begin == samples.size())
        return 0.0;
    begin = (begin & ~size_t(1)) + static_cast<size_t>(skip * 44100) * 2;
    const size_t end = begin + static_cast<size_t>(1.5 * 44100) * 2;
    if (end > samples.size())
        return -1.0;
    double sum = 0;
    for (size_t i = begin; i < end; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(end - begin)) / 32768.0;
}

} // namespace

// The short tones decode into memory, the long one streams (it is over the engine's streaming size).
// None of the runs prints anything: the viewer says nothing about sound.
TEST(SoundEngine, VolumeOverlapAndTheSilentCases) {
    const std::string tone440 = privateTempPath("tone440.wav"), tone660 = privateTempPath("tone660.wav"),
                      tone220 = privateTempPath("tone220.wav"), garbage = privateTempPath("garbage.mp3");
    writeToneWav(tone440, 440, 0.25);
    writeToneWav(tone660, 660, 0.25);
    writeToneWav(tone220, 220, 2.0);
    std::ofstream(garbage) << "not an mp3 file at all";
    const double toneRms = 0.5 / std::sqrt(2.0);
    const struct {
        const char* what;
        float volume;
        std::vector<Play> plays;
        double rms, tolerance; // as fractions of the tone's RMS
    } cases[] = {
        {"half", 0.5f, {{tone440, true}}, 0.5, 0.005},
        {"quarter", 0.25f, {{tone440, true}}, 0.25, 0.0025},
        // Quiet settings such as the default 0.005 need finer steps than SDL_mixer's 128 volume levels.
        {"faint", 0.01f, {{tone440, true}}, 0.01, 0.0003},
        // SDL_mixer's own master volume skips the music stream; ours must not.
        {"music", 0.5f, {{tone220, true}}, 0.5, 0.01},
        // Two uncorrelated tones add in power: the mix must carry both, not the later one alone.
        {"music and a sound", 0.5f, {{tone220, true}, {tone660, true}}, 0.5 * std::sqrt(2.0), 0.015},
        {"unreadable", 1.0f, {{garbage + ".missing", true}, {garbage, false}, {garbage, true}}, 0, 0},
    };
    for (const auto& c : cases) {
        const Capture capture = captureEngine("disk", c.volume, c.plays, 2.3);
        EXPECT_EQ(capture.child.exitCode, captured) << c.what;
        EXPECT_EQ(capture.child.output, "") << c.what;
        EXPECT_NEAR(rmsAfterOnset(capture, 0.3), c.rms * toneRms, c.tolerance * toneRms) << c.what;
    }
    for (const std::string& path : {tone440, tone660, tone220, garbage})
        std::remove(path.c_str());
    // SDL's own choice of driver; on a machine without a sound card this is ALSA failing to open, which
    // ALSA would report itself.
    const Capture capture = captureEngine(nullptr, 0.0f, {}, 0.1);
    EXPECT_TRUE(capture.child.exitCode == noEngine || capture.child.exitCode == captured);
    EXPECT_EQ(capture.child.output, "");
}

TEST(SoundEngine, RequestsThisLayerCannotHonourGiveNoEngine) {
    // These are refused before SDL is touched, so they are safe to run in this process.
    EXPECT_EQ(createSoundEngine(soundDriverAutomatic, soundDefaultOptions, nullptr, "1.5.0"), nullptr);
    EXPECT_EQ(createSoundEngine(soundDriverAutomatic, soundDefaultOptions, nullptr, nullptr), nullptr);
    EXPECT_EQ(createSoundEngine(4, soundDefaultOptions, nullptr, soundSdkVersion), nullptr);
}

// Decoded by SDL_mixer as the viewer plays it (in a child: SDL audio is process-wide). A click is a step
// or a burst of high-frequency energy at the seam that the music 20 ms around it does not have.
TEST(GeneratedAudio, MusicLoopsWithoutGapOrClick) {
    const std::string raw = privateTempPath("generated_music.raw");
    const ChildResult child = runInChild(
        [&] {
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            if (SDL_Init(SDL_INIT_AUDIO) != 0 ||
                Mix_OpenAudioDevice(44100, AUDIO_S16LSB, 2, 2048, nullptr, 0) != 0)
                return 1;
            Mix_Chunk* chunk =
                Mix_LoadWAV((std::string(DUSKVALE_BUILD_DIR) + "/assets/audio/backgroundMusic.mp3").c_str());
            if (!chunk)
                return 2;
            std::ofstream(raw, std::ios::binary)
                .write(reinterpret_cast<const char*>(chunk->abuf), chunk->alen);
            return 0;
        },
        privateTempPath("generated_decode.out"));
    ASSERT_EQ(child.exitCode, 0) << child.output;
    const std::vector<int16_t> music = readRawS16(raw);
    std::remove(raw.c_str());
    ASSERT_EQ(music.size() / 2, 96u * 44100) << "encoder delay or padding left in: a gap in every loop";
    const long long around = 882, window = 32, n = static_cast<long long>(music.size() / 2);
    for (int side = 0; side < 2; ++side) {
        std::vector<double> x; // the loop as it plays, the seam at index `around`
        for (long long i = -around; i < around; ++i)
            x.push_back(music[static_cast<size_t>(2 * ((n + i) % n) + side)]);
        const auto seam = static_cast<size_t>(around);
        auto step = [&](size_t i) { return std::fabs(x[i] - x[i - 1]); };
        auto highEnergy = [&](size_t c) {
            double sum = 0;
            for (size_t i = c - window / 2; i < c + window / 2; ++i)
                sum += std::pow(x[i] - 2 * x[i - 1] + x[i - 2], 2.0);
            return sum;
        };
        double largestStep = 0, largestEnergy = 0;
        for (size_t i = 1; i < x.size(); ++i)
            if (i != seam)
                largestStep = std::max(largestStep, step(i));
        for (size_t c = window; c + window / 2 <= x.size(); c += window)
            if (c + window <= seam || c >= seam + window)
                largestEnergy = std::max(largestEnergy, highEnergy(c));
        EXPECT_LE(step(seam), 1.5 * largestStep) << "side " << side;
        EXPECT_LE(highEnergy(seam), 3.0 * largestEnergy) << "side " << side;
    }
}
