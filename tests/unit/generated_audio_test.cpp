// The generated sounds as the viewer will hear them, decoded by SDL_mixer's MP3 decoder: lengths (with
// the encoder's delay and padding trimmed), a click-free music loop, and levels.
#include "sound_test_support.hpp"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr size_t musicFrames = 96 * 44100;
constexpr size_t creatureFrames = 3 * 44100 + 44100 / 2;

const std::string audioDir = std::string(DUSKVALE_BUILD_DIR) + "/assets/audio/";

struct Decoded {
    std::vector<int16_t> music;    // interleaved stereo
    std::vector<int16_t> creature; // interleaved stereo (the mono file, as the mixer plays it)
};

// Decodes both files in a child process (SDL's audio is process-wide) through the dummy driver.
const Decoded& decoded() {
    static const Decoded result = [] {
        const std::string musicRaw = soundtest::privateTempPath("generated_music.raw");
        const std::string creatureRaw = soundtest::privateTempPath("generated_creature.raw");
        const soundtest::ChildResult child = soundtest::runInChild(
            [&] {
                setenv("SDL_AUDIODRIVER", "dummy", 1);
                if (SDL_Init(SDL_INIT_AUDIO) != 0 ||
                    Mix_OpenAudioDevice(44100, AUDIO_S16LSB, 2, 2048, nullptr, 0) != 0)
                    return 1;
                for (const auto& [file, raw] : {std::pair{"backgroundMusic.mp3", musicRaw},
                                                std::pair{"wendrelSound.mp3", creatureRaw}}) {
                    Mix_Chunk* chunk = Mix_LoadWAV((audioDir + file).c_str());
                    if (!chunk)
                        return 2;
                    std::ofstream(raw, std::ios::binary)
                        .write(reinterpret_cast<const char*>(chunk->abuf), chunk->alen);
                }
                return 0;
            },
            soundtest::privateTempPath("generated_decode.out"));
        EXPECT_EQ(child.exitCode, 0) << child.output;
        Decoded decoded{soundtest::readRawS16(musicRaw), soundtest::readRawS16(creatureRaw)};
        std::remove(musicRaw.c_str());
        std::remove(creatureRaw.c_str());
        return decoded;
    }();
    return result;
}

std::vector<int16_t> channel(const std::vector<int16_t>& stereo, int side) {
    std::vector<int16_t> out(stereo.size() / 2);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = stereo[2 * i + static_cast<size_t>(side)];
    return out;
}

} // namespace

TEST(GeneratedAudio, MusicLoopSeamHasNoClick) {
    ASSERT_EQ(decoded().music.size() / 2, musicFrames);
    // A click is a step, or a burst of high-frequency energy, that the music around it does not have.
    // The coding noise of MP3 is there everywhere (about 40 dB down), so the seam is compared with its
    // own neighbourhood, 20 ms either side, rather than with perfection.
    const long long neighbourhood = 882;
    const long long window = 32;
    for (int side = 0; side < 2; ++side) {
        const std::vector<int16_t> x = channel(decoded().music, side);
        const auto n = static_cast<long long>(x.size());
        // The loop as it plays: the last samples followed by the first ones; the seam sits at index
        // `neighbourhood`.
        std::vector<double> around;
        for (long long i = -neighbourhood; i < neighbourhood; ++i)
            around.push_back(x[static_cast<size_t>((n + i) % n)]);
        const auto seam = static_cast<size_t>(neighbourhood);
        auto step = [&](size_t i) { return std::fabs(around[i] - around[i - 1]); };
        auto highEnergy = [&](size_t center) {
            double sum = 0;
            for (size_t i = center - window / 2; i < center + window / 2; ++i)
                sum += std::pow(around[i] - 2 * around[i - 1] + around[i - 2], 2.0);
            return sum;
        };
        double largestStep = 0, largestEnergy = 0;
        for (size_t i = 1; i < around.size(); ++i)
            if (i != seam)
                largestStep = std::max(largestStep, step(i));
        for (size_t c = window; c + window / 2 <= around.size(); c += window)
            if (c + window <= seam || c >= seam + window)
                largestEnergy = std::max(largestEnergy, highEnergy(c));
        EXPECT_LE(step(seam), 1.5 * largestStep) << "side " << side;
        EXPECT_LE(highEnergy(seam), 3.0 * largestEnergy) << "side " << side;
        const double before = soundtest::rms(x, x.size() - 882, x.size());
        const double after = soundtest::rms(x, 0, 882);
        EXPECT_NEAR(after / before, 1.0, 0.3) << "side " << side;
    }
}

// Any untrimmed encoder delay or padding would put a gap of silence into every pass of the loop. The
// music is heard all through without clipping; the creature's growl carries it in the middle, and its
// ends are quiet so the looped cue does not click.
TEST(GeneratedAudio, DecodedLengthsAndLevels) {
    const std::vector<int16_t>& music = decoded().music;
    const std::vector<int16_t>& creature = decoded().creature;
    ASSERT_EQ(music.size() / 2, musicFrames);
    ASSERT_EQ(creature.size() / 2, creatureFrames);
    for (size_t second = 0; second < 96; second += 4) {
        const double level = soundtest::rms(music, second * 88200, (second + 4) * 88200);
        EXPECT_GT(level, 0.02) << "at " << second << " s";
        EXPECT_LT(level, 0.3) << "at " << second << " s";
    }
    const auto peak = std::max_element(music.begin(), music.end(),
                                       [](int16_t a, int16_t b) { return std::abs(a) < std::abs(b); });
    EXPECT_LT(std::abs(*peak), 0.6 * 32768);
    EXPECT_GT(soundtest::rms(creature, 88200 * 6 / 10, 88200 * 22 / 10), 0.04);
    EXPECT_EQ(soundtest::firstAudible(std::vector<int16_t>(creature.begin(), creature.begin() + 882), 100),
              882u);
    EXPECT_EQ(soundtest::firstAudible(std::vector<int16_t>(creature.end() - 4410, creature.end()), 100),
              4410u);
}
