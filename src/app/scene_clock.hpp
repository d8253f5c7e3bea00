// The scene's clock on top of the frame clock: it stands still while the viewer is paused (or the
// window was minimised), and with --loop the flight starts again when it reaches its end.
#pragma once

#include "app/frame_clock.hpp"
#include "app/sound_cues.hpp"
#include "model/character_script.hpp"

struct SceneClock {
    float heldSeconds = 0.0f; // frame-clock time spent paused, kept out of the scene's time
};

// This frame's scene time from the frame clock's: while held (paused, or the first frame back from a
// minimised window) the time stays where it was and the step is 0; otherwise it runs on, behind the
// frame clock by every second held so far. Never held, it equals the frame clock exactly.
FrameTime advanceSceneClock(SceneClock& clock, const FrameTime& frame, bool held);

// Whether the flight's clock has reached flightEnd and, with --loop, starts again: the time past the
// end carries over into the new lap, the character walks from its start again and its single-shot
// sound fires again (the looped one, started in the first lap, plays on). Returns true when it
// restarted the flight.
bool restartFlightAtEnd(float& flightTime, float flightEnd, CharacterScript& script, SoundCues& cues);
