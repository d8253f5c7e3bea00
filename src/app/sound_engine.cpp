// The sound layer on SDL2_mixer: large files stream as SDL_mixer's one music stream, small ones are
// decoded once into chunks and mixed on channels, so the looped music and several overlapping sounds
// play together. The master volume is applied after mixing, to everything at once.
#include "app/sound_engine.hpp"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <dlfcn.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int mixRate = 44100;
constexpr int mixChannels = 2;
// About 46 ms per buffer: SDL_mixer's usual size, safe from underruns on a busy machine; the cues need
// no lower latency.
constexpr int mixBufferFrames = 2048;
constexpr int mixerChannelCount = 16;
// About 16 s of 128 kbit/s MP3: shorter sounds are decoded whole on their first play (milliseconds),
// longer ones such as the music stream, so starting them never stalls the frame loop.
constexpr std::uintmax_t streamThresholdBytes = 256 * 1024;

struct LoadedSound {
    std::string path;
    Mix_Chunk* chunk = nullptr; // null when the file could not be decoded; kept so it is not retried
};

bool engineExists = false;

} // namespace

struct SoundEngine {
    // Written by the main thread, read by the mixing thread once per buffer.
    std::atomic<float> volume{1.0f};
    // Decoded sounds stay for the run: a channel may still be playing one.
    std::vector<LoadedSound> loadedSounds;
    // SDL_mixer streams one file at a time; this is it, once started.
    Mix_Music* music = nullptr;
};

namespace {

using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler);

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// ALSA reports a missing sound card on standard error by itself; the viewer says nothing about sound,
// so its handler is swapped for a silent one when SDL has brought ALSA in (looked up at run time, so
// no ALSA headers or link are needed and a build without ALSA is unaffected).
void silenceAlsa() {
    auto setHandler = reinterpret_cast<AlsaSetErrorHandler>(dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler"));
    if (setHandler)
        setHandler(ignoreAlsaMessage);
}

SDL_LogOutputFunction otherLogOutput = nullptr;
void* otherLogData = nullptr;

// SDL's audio drivers log on their own (the disk driver warns that it is in use); the viewer says
// nothing about sound, so those lines are dropped and everything else SDL logs passes through.
void dropAudioLogs(void*, int category, SDL_LogPriority priority, const char* message) {
    if (category != SDL_LOG_CATEGORY_AUDIO && otherLogOutput)
        otherLogOutput(otherLogData, category, priority, message);
}

// SDL_mixer's own volumes cannot do the job: the chunk master volume leaves the music alone, and both
// have only 128 steps, which would round the viewer's default of 0.005 to 0.0078.
void applyMasterVolume(void* userData, Uint8* stream, int length) {
    const float volume = static_cast<SoundEngine*>(userData)->volume.load(std::memory_order_relaxed);
    if (volume >= 1.0f)
        return;
    if (volume <= 0.0f) {
        std::memset(stream, 0, static_cast<size_t>(length));
        return;
    }
    auto* samples = reinterpret_cast<Sint16*>(stream);
    const int count = length / static_cast<int>(sizeof(Sint16));
    for (int i = 0; i < count; ++i)
        samples[i] = static_cast<Sint16>(std::lrint(samples[i] * volume));
}

Mix_Chunk* loadedChunk(SoundEngine& engine, const char* path) {
    for (const LoadedSound& sound : engine.loadedSounds)
        if (sound.path == path)
            return sound.chunk;
    engine.loadedSounds.push_back({path, Mix_LoadWAV(path)});
    return engine.loadedSounds.back().chunk;
}

bool shouldStream(const char* path, int streamMode) {
    if (streamMode == soundStreamNever || Mix_PlayingMusic())
        return false;
    if (streamMode == soundStreamAlways)
        return true;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return !error && size >= streamThresholdBytes;
}

void playStreamed(SoundEngine& engine, const char* path, bool looped) {
    if (engine.music)
        Mix_FreeMusic(engine.music);
    engine.music = Mix_LoadMUS(path);
    if (engine.music)
        Mix_PlayMusic(engine.music, looped ? -1 : 1);
}

} // namespace

SoundEngine* createSoundEngine(int outputDriver, int, const char* deviceId, const char* sdkVersion) {
    if (engineExists || outputDriver != soundDriverAutomatic || !sdkVersion ||
        std::strcmp(sdkVersion, soundSdkVersion) != 0)
        return nullptr;
    // SDL would otherwise take over Ctrl+C, and nobody here reads its quit event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Duskvale");
    silenceAlsa();
    SDL_LogGetOutputFunction(&otherLogOutput, &otherLogData);
    SDL_LogSetOutputFunction(dropAudioLogs, nullptr);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        SDL_LogSetOutputFunction(otherLogOutput, otherLogData);
        return nullptr;
    }
    // Exactly this format, so the volume callback always sees 16-bit stereo; SDL converts for the device.
    if (Mix_OpenAudioDevice(mixRate, AUDIO_S16SYS, mixChannels, mixBufferFrames, deviceId, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        SDL_LogSetOutputFunction(otherLogOutput, otherLogData);
        return nullptr;
    }
    Mix_Init(MIX_INIT_MP3);
    Mix_AllocateChannels(mixerChannelCount);
    auto* engine = new SoundEngine;
    Mix_SetPostMix(applyMasterVolume, engine);
    engineExists = true;
    return engine;
}

void setSoundVolume(SoundEngine* engine, float volume) {
    if (!engine)
        return;
    // Written this way round so that NaN lands on silence.
    const float clamped = volume > 0.0f ? std::fmin(volume, 1.0f) : 0.0f;
    engine->volume.store(clamped, std::memory_order_relaxed);
}

void play2D(SoundEngine* engine, const char* soundFile, bool playLooped, bool startPaused, bool,
            int streamMode, bool) {
    // A paused sound could only be resumed through a handle, and none is handed out.
    if (!engine || !soundFile || startPaused)
        return;
    if (shouldStream(soundFile, streamMode)) {
        playStreamed(*engine, soundFile, playLooped);
        return;
    }
    if (Mix_Chunk* chunk = loadedChunk(*engine, soundFile))
        Mix_PlayChannel(-1, chunk, playLooped ? -1 : 0);
}

void destroySoundEngine(SoundEngine* engine) {
    if (!engine)
        return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    for (const LoadedSound& sound : engine->loadedSounds)
        if (sound.chunk)
            Mix_FreeChunk(sound.chunk);
    if (engine->music)
        Mix_FreeMusic(engine->music);
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_LogSetOutputFunction(otherLogOutput, otherLogData);
    delete engine;
    engineExists = false;
}
