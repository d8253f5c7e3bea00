// The free camera and the per-frame keys: mouse-look arithmetic, the pitch limit and movement;
// edge-triggered switches, movement only while the camera is free. (Escape is pressed on the real
// window by the desktop scripts.)
#include "camera/camera.hpp"
#include "camera/keyboard.hpp"

#include <cmath>
#include <gtest/gtest.h>

namespace {

void expectNear(const glm::vec3& actual, const glm::vec3& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// A camera whose first cursor event has already been seen at the rest point.
Camera settledCamera() {
    Camera camera;
    camera.look(cursorRestX, cursorRestY);
    return camera;
}

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

// Each event is measured from the rest point the cursor is put back to, not from the window centre.
// The first event only records the position.
TEST(MouseLook, HundredPixelsFromTheRestPointTurnFiveDegrees) {
    Camera camera;
    camera.look(100.0f, 900.0f);
    EXPECT_EQ(camera.yaw, -90.0f);
    EXPECT_EQ(glm::vec2(camera.lastX, camera.lastY), glm::vec2(960.0f, 600.0f));
    camera.look(960.0f, 600.0f);
    EXPECT_EQ(camera.yaw, -90.0f);
    EXPECT_EQ(camera.pitch, 0.0f);
    camera.look(1060.0f, 600.0f);
    EXPECT_FLOAT_EQ(camera.yaw, -85.0f);
    EXPECT_EQ(camera.pitch, 0.0f);
    // (960, 540) is the centre of a 1920 x 1080 window, 60 pixels above the rest point.
    camera.look(960.0f, 540.0f);
    EXPECT_FLOAT_EQ(camera.pitch, 3.0f);
    EXPECT_NEAR(camera.front.y, std::sin(glm::radians(3.0f)), 1e-5f);
}

TEST(MouseLook, PitchStopsAt89DegreesWhileYawNeverWraps) {
    Camera camera = settledCamera();
    for (int i = 0; i < 10; ++i)
        camera.look(960.0f, -10000.0f);
    EXPECT_EQ(camera.pitch, 89.0f);
    EXPECT_GT(camera.front.y, 0.999f);
    camera.look(960.0f, 100000.0f);
    EXPECT_EQ(camera.pitch, -89.0f);
    for (int i = 0; i < 20; ++i)
        camera.look(960.0f + 1000.0f, 600.0f);
    EXPECT_FLOAT_EQ(camera.yaw, -90.0f + 20 * 50.0f);
}

// Looking down -z, ten units a second: W and S along front, A and D sideways; opposite keys cancel.
TEST(FreeMovement, EachKeyMovesTenUnitsASecondItsOwnWay) {
    const struct {
        bool forward, backward, left, right;
        glm::vec3 moved;
    } rows[] = {
        {true, false, false, false, {0.0f, 0.0f, -10.0f}}, {false, true, false, false, {0.0f, 0.0f, 10.0f}},
        {false, false, true, false, {-10.0f, 0.0f, 0.0f}}, {false, false, false, true, {10.0f, 0.0f, 0.0f}},
        {true, true, true, true, {0.0f, 0.0f, 0.0f}},      {true, false, false, true, {10.0f, 0.0f, -10.0f}},
    };
    for (const auto& row : rows) {
        Camera camera;
        const glm::vec3 start = camera.position;
        camera.move(MovementKeys{row.forward, row.backward, row.left, row.right}, 1.0f);
        expectNear(camera.position, start + row.moved);
    }
}

// A held key flips its switch once; each toggle key has its own switch and memory.
TEST_F(KeyboardFixture, EachToggleKeyFlipsItsOwnSwitchOncePerPress) {
    for (int i = 0; i < 5; ++i)
        frame(only(&KeyStates::f));
    EXPECT_FALSE(state.automaticCam);
    frame(KeyStates{});
    frame(only(&KeyStates::f));
    EXPECT_TRUE(state.automaticCam);

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

// Movement keys do nothing while the flight drives the camera; the free camera moves by the state's
// delta time, which is zero in the first frame.
TEST_F(KeyboardFixture, MovementKeysMoveOnlyTheFreeCameraByTheStatesDeltaTime) {
    const glm::vec3 start = camera.position;
    KeyStates keys;
    keys.movement.forward = true;
    state.deltaTime = 1.0f;
    frame(keys);
    EXPECT_EQ(camera.position, start);

    state.automaticCam = false;
    state.deltaTime = 0.0f;
    frame(keys);
    EXPECT_EQ(camera.position, start);
    state.deltaTime = 0.1f;
    frame(keys);
    EXPECT_NEAR(camera.position.z, start.z - 1.0f, 1e-5f);
}
