// The sound layer heard through SDL's disk driver, which writes the mixed output as raw 16-bit stereo at
// 44.1 kHz: volume on streamed music and decoded sounds alike, overlap, and the silent cases. (Looping,
// muting and a missing device are heard through the whole viewer in the sound end-to-end test.)
#include "app/sound_engine.hpp"

#include "sound_test_support.hpp"

#include <gtest/gtest.h>

namespace {

constexpr double toneAmplitude = 0.5;
const double toneRms = toneAmplitude / std::sqrt(2.0);

struct Play {
    std::string file;
    bool looped;
};

using soundtest::Capture;
using soundtest::captured;
using soundtest::noEngine;

std::string tempPath(const std::string& name) {
    return soundtest::privateTempPath("engine_" + name);
}

// The test tones, written for one test and removed after it. The short ones decode into memory, the
// long one streams (it is over the engine's streaming size); all hold whole cycles, so they loop
// without a click.
struct Tones {
    const std::string short440 = tempPath("tone440.wav");
    const std::string short660 = tempPath("tone660.wav");
    const std::string long220 = tempPath("tone220.wav");
    Tones() {
        soundtest::writeToneWav(short440, 440, 0.25, toneAmplitude);
        soundtest::writeToneWav(short660, 660, 0.25, toneAmplitude);
        soundtest::writeToneWav(long220, 220, 2.0, toneAmplitude);
    }
    ~Tones() {
        for (const std::string& path : {short440, short660, long220})
            std::remove(path.c_str());
    }
};

// Sets the volume and starts the plays on a fresh engine in a child process (see captureSoundRun).
Capture captureEngine(const std::string& name, const char* driver, float volume,
                      const std::vector<Play>& plays, double seconds = 2.0) {
    return soundtest::captureSoundRun(tempPath(name + ".raw"), driver, seconds, [&](SoundEngine* engine) {
        setSoundVolume(engine, volume);
        for (const Play& play : plays)
            play2D(engine, play.file.c_str(), play.looped, false, false, soundStreamAutomatic, false);
    });
}

// RMS over `seconds` of stereo samples, starting `skip` seconds after the first audible sample.
double rmsAfterOnset(const Capture& capture, double skip, double seconds) {
    const size_t onset = soundtest::firstAudible(capture.samples) & ~size_t(1);
    const size_t begin = onset + static_cast<size_t>(skip * 44100) * 2;
    const size_t end = begin + static_cast<size_t>(seconds * 44100) * 2;
    if (end > capture.samples.size())
        return -1.0;
    return soundtest::rms(capture.samples, begin, end);
}

} // namespace

TEST(SoundEngine, MasterVolumeScalesDecodedSoundsAndStreamedMusicAlike) {
    const Tones tones;
    const Capture half = captureEngine("half", "disk", 0.5f, {{tones.short440, true}});
    const Capture quarter = captureEngine("quarter", "disk", 0.25f, {{tones.short440, true}});
    const Capture faint = captureEngine("faint", "disk", 0.01f, {{tones.short440, true}});
    const Capture music = captureEngine("music", "disk", 0.5f, {{tones.long220, true}});
    for (const Capture* capture : {&half, &quarter, &faint, &music}) {
        EXPECT_EQ(capture->child.exitCode, captured);
        EXPECT_EQ(capture->child.output, "");
    }
    const double halfRms = rmsAfterOnset(half, 0.1, 1.5);
    const double quarterRms = rmsAfterOnset(quarter, 0.1, 1.5);
    EXPECT_NEAR(halfRms, 0.5 * toneRms, 0.01 * toneRms);
    EXPECT_NEAR(quarterRms, 0.25 * toneRms, 0.01 * toneRms);
    EXPECT_NEAR(halfRms / quarterRms, 2.0, 0.02);
    // Quiet settings such as the default 0.005 need finer steps than SDL_mixer's 128 volume levels.
    EXPECT_NEAR(rmsAfterOnset(faint, 0.1, 1.5), 0.01 * toneRms, 0.0003 * toneRms);
    // SDL_mixer's own master volume skips the music stream; ours must not.
    EXPECT_NEAR(rmsAfterOnset(music, 0.1, 1.5), 0.5 * toneRms, 0.01 * toneRms);
}

TEST(SoundEngine, MusicAndSoundsPlayTogether) {
    const Tones tones;
    // Two uncorrelated tones add in power: the mix must carry both, not the later one alone.
    const Capture capture =
        captureEngine("overlap", "disk", 0.5f, {{tones.long220, true}, {tones.short660, true}}, 2.5);
    ASSERT_EQ(capture.child.exitCode, captured);
    EXPECT_NEAR(rmsAfterOnset(capture, 0.3, 1.5), 0.5 * std::sqrt(2.0) * toneRms, 0.015 * toneRms);
}

TEST(SoundEngine, DefaultDriverChoiceSaysNothingWhateverItFinds) {
    // On a machine without a sound card this is ALSA failing to open, which ALSA would report itself.
    const Capture capture = captureEngine("default", nullptr, 0.0f, {}, 0.1);
    EXPECT_TRUE(capture.child.exitCode == noEngine || capture.child.exitCode == captured);
    EXPECT_EQ(capture.child.output, "");
}

TEST(SoundEngine, UnreadableFilesDoNotPlayAndSayNothing) {
    const std::string garbage = tempPath("garbage.mp3");
    std::ofstream(garbage) << "not an mp3 file at all";
    const Capture capture =
        captureEngine("unreadable", "disk", 1.0f,
                      {{tempPath("missing.mp3"), true}, {garbage, false}, {garbage, true}}, 0.5);
    std::remove(garbage.c_str());
    ASSERT_EQ(capture.child.exitCode, captured);
    EXPECT_EQ(capture.child.output, "");
    EXPECT_EQ(soundtest::firstAudible(capture.samples), capture.samples.size());
}

TEST(SoundEngine, RequestsThisLayerCannotHonourGiveNoEngine) {
    // These are refused before SDL is touched, so they are safe to run in this process.
    EXPECT_EQ(createSoundEngine(soundDriverAutomatic, soundDefaultOptions, nullptr, "1.5.0"), nullptr);
    EXPECT_EQ(createSoundEngine(soundDriverAutomatic, soundDefaultOptions, nullptr, nullptr), nullptr);
    EXPECT_EQ(createSoundEngine(4, soundDefaultOptions, nullptr, soundSdkVersion), nullptr);
}
