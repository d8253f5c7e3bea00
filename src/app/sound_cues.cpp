// The scene's sound script on top of the sound layer.
#include "app/sound_cues.hpp"

#include "app/sound_engine.hpp"

void startBackgroundMusic(SoundEngine* engine, float volume) {
    setSoundVolume(engine, volume);
    play2D(engine, backgroundMusicFile, true, false, false, soundStreamAutomatic, false);
}

SoundCueActions advanceSoundCues(SoundCues& cues, float flightTime) {
    SoundCueActions actions;
    if (flightTime > singleShotCueTime && !cues.singleShotPlayed) {
        actions.playSingleShot = true;
        cues.singleShotPlayed = true;
    }
    if (flightTime > loopCueTime && !cues.loopPlayed) {
        actions.playLoop = true;
        cues.loopPlayed = true;
    }
    return actions;
}

void runSoundCues(SoundCues& cues, SoundEngine* engine, float flightTime) {
    const SoundCueActions actions = advanceSoundCues(cues, flightTime);
    if (actions.playSingleShot)
        play2D(engine, characterSoundFile, false, false, false, soundStreamAutomatic, false);
    if (actions.playLoop)
        play2D(engine, characterSoundFile, true, false, false, soundStreamAutomatic, false);
}
