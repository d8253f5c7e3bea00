// Light flicker over a scripted draw sequence: one draw per light and frame, a second one for each
// outage that starts, outages of up to half a second, lights independent of each other.
#include "app/light_flicker.hpp"

#include <gtest/gtest.h>

#include <deque>

namespace {

std::deque<float> scriptedDraws;
int drawsTaken = 0;

float nextScriptedDraw() {
    ++drawsTaken;
    if (scriptedDraws.empty())
        return 0.5f; // never starts an outage
    const float value = scriptedDraws.front();
    scriptedDraws.pop_front();
    return value;
}

struct FlickerFixture : ::testing::Test {
    LightFlicker flicker;
    void SetUp() override {
        scriptedDraws.clear();
        drawsTaken = 0;
    }
};

const glm::vec3 lamp(1.0f, 0.8f, 0.8f);
const glm::vec3 dark(0.0f);

} // namespace

TEST_F(FlickerFixture, WithoutOutagesEveryLightDrawsOncePerFrameAndStaysLit) {
    for (int i = 0; i < 10; ++i)
        updateFlicker(flicker, 0.1f, nextScriptedDraw);
    EXPECT_EQ(drawsTaken, 30);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(flicker.pointColors[k], lamp);
        EXPECT_NEAR(flicker.flickerTimers[k], -1.0f, 1e-5f); // timers run below zero freely
    }
}

TEST_F(FlickerFixture, ADrawBelowHalfAPercentStartsAnOutageOfHalfTheSecondDraw) {
    scriptedDraws = {0.5f, 0.004f, 0.5f, 0.5f}; // light 1 goes out for 0.25 s
    updateFlicker(flicker, 0.125f, nextScriptedDraw);
    EXPECT_EQ(drawsTaken, 4);
    EXPECT_EQ(flicker.pointColors[0], lamp);
    EXPECT_EQ(flicker.pointColors[1], dark);
    EXPECT_EQ(flicker.pointColors[2], lamp);
    EXPECT_EQ(flicker.flickerTimers[1], 0.25f);

    updateFlicker(flicker, 0.125f, nextScriptedDraw);
    EXPECT_EQ(flicker.pointColors[1], dark); // 0.125 s left
    updateFlicker(flicker, 0.125f, nextScriptedDraw);
    EXPECT_EQ(flicker.flickerTimers[1], 0.0f);
    EXPECT_EQ(flicker.pointColors[1], lamp); // a timer of exactly 0 is no outage
}

TEST_F(FlickerFixture, ADrawOfExactlyHalfAPercentStartsNothing) {
    scriptedDraws = {0.005f, 0.5f, 0.5f};
    updateFlicker(flicker, 0.1f, nextScriptedDraw);
    EXPECT_EQ(drawsTaken, 3);
    EXPECT_EQ(flicker.pointColors[0], lamp);
}
