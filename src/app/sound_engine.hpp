// The viewer's sound layer: an engine that plays sound files in the background, fire and forget, built on
// SDL2_mixer. The rest of the program sees only these calls; the engine handle stays opaque so that no
// SDL type leaks out of this module.
#pragma once

// SDL's audio is process-wide, so there is one engine at a time: a second create returns null.
struct SoundEngine;

// Output driver: 0 lets SDL choose (or follows SDL_AUDIODRIVER); no other driver is offered.
constexpr int soundDriverAutomatic = 0;
// The default option set; our engine always mixes on SDL's own audio thread, so the options only
// have to be this value.
constexpr int soundDefaultOptions = 61;
// The interface version this layer implements; a caller built against another one gets no engine.
constexpr const char* soundSdkVersion = "1.6.0";

// How play2D reads the file: automatic streams large files and decodes small ones into memory.
constexpr int soundStreamAutomatic = 0;
constexpr int soundStreamAlways = 1;
constexpr int soundStreamNever = 2;

// Opens the audio device. Returns null, silently, when no device can be opened (headless machines,
// no sound server) or when the arguments ask for something this layer does not offer. Every other
// call accepts that null and does nothing, so callers need no check of their own.
SoundEngine* createSoundEngine(int outputDriver = soundDriverAutomatic, int options = soundDefaultOptions,
                               const char* deviceId = nullptr, const char* sdkVersion = soundSdkVersion);

// Master volume for everything the engine plays, music and sounds started later included: 0 is silent,
// 1 is the files' own level; values outside [0, 1] are clamped.
void setSoundVolume(SoundEngine* engine, float volume);

// Starts playing the file at once and returns; the sound plays to its end (or for the rest of the run
// when looped) alongside everything else. A file that cannot be opened simply does not play. Nothing
// is returned: a sound cannot be controlled once started, so one started paused never plays, and
// track and sound effects have no effect.
void play2D(SoundEngine* engine, const char* soundFile, bool playLooped, bool startPaused = false,
            bool track = false, int streamMode = soundStreamAutomatic, bool enableSoundEffects = false);

// Stops everything and closes the device. The viewer never calls it (the process exit ends the sound);
// it exists so that a test can flush what the device wrote.
void destroySoundEngine(SoundEngine* engine);
