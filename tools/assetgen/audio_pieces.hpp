// The two pieces of sound the scene plays, synthesised from scratch.
#pragma once

#include "audio_dsp.hpp"

// Length of the music loop; the flight ends at 91.5 s, so a normal run never hears the seam, but a
// free-camera run does and it must not click.
constexpr int musicLoopSeconds = 96;
constexpr double creatureSoundSeconds = 3.5;

// Dark ambient stereo loop: drone, slow minor chords, wind, distant chimes and rumbles, all exactly
// periodic over the loop so its last sample flows into its first.
PcmBuffer synthesizeBackgroundMusic();

// The character's mono growl between an inhale and an exhale, silent at both ends so it loops cleanly.
PcmBuffer synthesizeCreatureSound();
