// Pause and loop arithmetic, apart from GLFW so that it can be tested without a window.
#include "app/scene_clock.hpp"

FrameTime advanceSceneClock(SceneClock& clock, const FrameTime& frame, bool held) {
    if (held)
        clock.heldSeconds += frame.deltaTime;
    FrameTime scene;
    scene.now = frame.now - clock.heldSeconds;
    scene.deltaTime = held ? 0.0f : frame.deltaTime;
    return scene;
}

bool restartFlightAtEnd(float& flightTime, float flightEnd, CharacterScript& script, SoundCues& cues) {
    if (flightTime < flightEnd)
        return false;
    flightTime -= flightEnd;
    script = makeCharacterScript();
    // The looped sound started in the first lap never stops (a started sound cannot be controlled),
    // so only the single shot fires again; firing the loop again would stack a second voice on it.
    cues.singleShotPlayed = false;
    return true;
}
