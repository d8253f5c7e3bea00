// Per-frame keys: edge-triggered switches, movement only while the camera is free, Escape always.
#include "camera/keyboard.hpp"

#include <gtest/gtest.h>

namespace {

struct KeyboardFixture : ::testing::Test {
    AppState state;
    Camera camera;
    ToggleKeyMemory memory;
    bool frame(const KeyStates& keys) { return handleKeys(keys, memory, state, camera); }
};

KeyStates only(bool KeyStates::*key) {
    KeyStates keys;
    keys.*key = true;
    return keys;
}

} // namespace

TEST_F(KeyboardFixture, HoldingAToggleKeyFlipsItsSwitchOnce) {
    for (int i = 0; i < 5; ++i)
        frame(only(&KeyStates::f));
    EXPECT_FALSE(state.automaticCam);
    frame(KeyStates{});
    frame(only(&KeyStates::f));
    EXPECT_TRUE(state.automaticCam);
}

TEST_F(KeyboardFixture, EachToggleKeyHasItsOwnSwitchAndMemory) {
    frame(only(&KeyStates::h));
    EXPECT_FALSE(state.ambientOcclusionEnabled);
    EXPECT_TRUE(state.gammaEnabled);
    EXPECT_TRUE(state.automaticCam);
    KeyStates hAndG = only(&KeyStates::h);
    hAndG.g = true;
    frame(hAndG); // H is still held: only G is a fresh press
    EXPECT_FALSE(state.ambientOcclusionEnabled);
    EXPECT_FALSE(state.gammaEnabled);
}

TEST_F(KeyboardFixture, MovementKeysDoNothingWhileTheFlightDrivesTheCamera) {
    state.deltaTime = 1.0f;
    const glm::vec3 start = camera.position;
    KeyStates keys;
    keys.movement.forward = true;
    keys.movement.left = true;
    frame(keys);
    EXPECT_EQ(camera.position, start);

    state.automaticCam = false;
    frame(keys);
    EXPECT_NE(camera.position, start);
}

TEST_F(KeyboardFixture, FreeMovementUsesTheStatesDeltaTimeWhichIsZeroInTheFirstFrame) {
    state.automaticCam = false;
    const glm::vec3 start = camera.position;
    KeyStates keys;
    keys.movement.forward = true;
    frame(keys);
    EXPECT_EQ(camera.position, start);
    state.deltaTime = 0.1f;
    frame(keys);
    EXPECT_NEAR(camera.position.z, start.z - 1.0f, 1e-5f);
}

TEST_F(KeyboardFixture, EscapeAsksToCloseInEitherModeAndTheRestStillRuns) {
    KeyStates keys = only(&KeyStates::escape);
    keys.g = true;
    EXPECT_TRUE(frame(keys));
    EXPECT_FALSE(state.gammaEnabled);
    state.automaticCam = false;
    EXPECT_TRUE(frame(only(&KeyStates::escape)));
    EXPECT_FALSE(frame(KeyStates{}));
}
