// Edge-triggered switches and free movement, in the order the frame expects: Escape, F, H, G, then
// movement only while the automatic camera is off.
#include "camera/keyboard.hpp"

namespace {

void toggleOnPress(bool isDown, bool& wasDown, bool& value) {
    if (isDown && !wasDown)
        value = !value;
    wasDown = isDown;
}

} // namespace

bool handleKeys(const KeyStates& keys, ToggleKeyMemory& memory, AppState& state, Camera& camera) {
    toggleOnPress(keys.f, memory.fWasDown, state.automaticCam);
    toggleOnPress(keys.h, memory.hWasDown, state.ambientOcclusionEnabled);
    toggleOnPress(keys.g, memory.gWasDown, state.gammaEnabled);
    // While the flight drives the camera the movement keys would only fight it.
    if (!state.automaticCam)
        camera.move(keys.movement, state.deltaTime);
    return keys.escape;
}
