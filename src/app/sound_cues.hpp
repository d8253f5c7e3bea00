// When the scene plays its two sounds: the background music from the first frame on, and the
// character's sound tied to the automatic flight, once as a single shot and then as a loop.
#pragma once

struct SoundEngine;

constexpr const char* backgroundMusicFile = "audio/backgroundMusic.mp3";
constexpr const char* characterSoundFile = "audio/wendrelSound.mp3";
// Flight times (seconds) the flight must pass, strictly, for each cue.
constexpr float singleShotCueTime = 15.0f;
constexpr float loopCueTime = 59.0f;

// Each cue fires at most once per run, whatever the flight clock does afterwards.
struct SoundCues {
    bool singleShotPlayed = false;
    bool loopPlayed = false;
};

// What one frame's evaluation asks for; both may fire in the same frame, single shot first.
struct SoundCueActions {
    bool playSingleShot = false;
    bool playLoop = false;
};

// Sets the volume and starts the looped music; called once, just before the first frame.
void startBackgroundMusic(SoundEngine* engine, float volume);

// The pure decision: which cues this flight time fires, marking them played.
SoundCueActions advanceSoundCues(SoundCues& cues, float flightTime);

// Once per frame, after the lit pass: plays what advanceSoundCues asks for. A null engine is fine.
void runSoundCues(SoundCues& cues, SoundEngine* engine, float flightTime);
