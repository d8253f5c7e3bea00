// The character's script over simulated flights: which placement and animation each pass draws at a
// flight time, and how far the placements walk per pass and per frame.
#include "model/character_script.hpp"

#include <assimp/scene.h>
#include <gtest/gtest.h>

namespace {

glm::vec3 origin(const glm::mat4& m) {
    return glm::vec3(m[3]);
}

// The three scene passes of one frame, shadow first, each running the script once.
void runFrame(CharacterScript& script, float flightTime, float deltaTime) {
    for (int pass = 0; pass < 3; ++pass)
        advanceCharacterPlacements(script, flightTime, deltaTime);
}

struct Expected {
    float flightTime;
    bool shadowPass;
    bool visible;
    int animationIndex;
    bool placementA;
};

} // namespace

TEST(CharacterScript, DrawWindowsPerPass) {
    const CharacterScript script = makeCharacterScript();
    const Expected cases[] = {
        {0.0f, true, false, 0, false},   {16.0f, false, false, 0, false}, {16.5f, false, true, 1, false},
        {18.99f, true, true, 1, false},  {19.0f, false, false, 0, false}, {19.0f, true, true, 2, false},
        {19.01f, false, true, 2, false}, {26.9f, true, true, 2, false},   {27.0f, true, false, 0, false},
        {40.0f, false, false, 0, false}, {55.0f, false, false, 0, false}, {55.01f, true, true, 1, true},
        {91.4f, false, true, 1, true},
    };
    for (const Expected& c : cases) {
        const CharacterDraw draw = chooseCharacterDraw(script, c.flightTime, c.shadowPass);
        SCOPED_TRACE(::testing::Message()
                     << "flight time " << c.flightTime << (c.shadowPass ? " shadow" : ""));
        EXPECT_EQ(draw.visible, c.visible);
        if (!c.visible)
            continue;
        EXPECT_EQ(draw.animationIndex, c.animationIndex);
        EXPECT_EQ(draw.matrix, c.placementA ? script.characterMatrixA : script.characterMatrixB);
    }
}

TEST(CharacterScript, StreetPlacementStandsUntil59ThenWalksThreeStepsPerFrame) {
    CharacterScript script = makeCharacterScript();
    const float deltaTime = 1.0f / 60.0f;
    for (float t = 55.5f; t <= 59.0f; t += 0.5f)
        runFrame(script, t, deltaTime);
    EXPECT_EQ(origin(script.characterMatrixA), glm::vec3(-25.0f, -1.5f, -20.0f));

    runFrame(script, 59.01f, deltaTime);
    const glm::vec3 moved = origin(script.characterMatrixA);
    // 30 units per second per pass in model units, three passes, times the 0.02 scale.
    EXPECT_NEAR(moved.z, -20.0f + 0.02f * 90.0f * deltaTime, 1e-5f);
    EXPECT_EQ(moved.x, -25.0f);
    EXPECT_EQ(moved.y, -1.5f);
}

TEST(CharacterScript, FloorPlacementMovesUntil19Point5WithAPerPassSideStep) {
    CharacterScript script = makeCharacterScript();
    const glm::vec3 start = origin(script.characterMatrixB);
    runFrame(script, 16.0f, 0.1f);
    EXPECT_EQ(origin(script.characterMatrixB), start) << "the window opens after 16";

    runFrame(script, 17.0f, 0.1f);
    glm::vec3 moved = origin(script.characterMatrixB);
    // Turned half round: +x and +z in the placement are -x and -z in the world.
    EXPECT_NEAR(moved.x, start.x - 3 * 0.01f * 0.012f, 1e-6f);
    EXPECT_NEAR(moved.z, start.z - 3 * 60.0f * 0.1f * 0.012f, 1e-5f);

    // The side step is per pass: a frame with half the time step moves just as far sideways.
    const glm::vec3 before = moved;
    runFrame(script, 17.05f, 0.05f);
    moved = origin(script.characterMatrixB);
    EXPECT_NEAR(moved.x - before.x, -3 * 0.01f * 0.012f, 1e-6f);
    EXPECT_NEAR(moved.z - before.z, -3 * 60.0f * 0.05f * 0.012f, 1e-5f);

    const glm::mat4 stopped = script.characterMatrixB;
    runFrame(script, 19.5f, 0.1f);
    EXPECT_EQ(script.characterMatrixB, stopped);
}

TEST(CharacterScript, AFrameWithoutTimeMovesNeitherPlacement) {
    // A paused frame: inside both walks, yet the per-pass side step must not creep on.
    CharacterScript script = makeCharacterScript();
    runFrame(script, 17.0f, 0.1f);
    const CharacterScript before = script;
    runFrame(script, 17.0f, 0.0f);
    EXPECT_EQ(script.characterMatrixA, before.characterMatrixA);
    EXPECT_EQ(script.characterMatrixB, before.characterMatrixB);
}

TEST(CharacterScript, MissingCharacterOrAnimationDrawsNothing) {
    CharacterScript script = makeCharacterScript();
    EXPECT_FALSE(runCharacterScript(script, nullptr, 7, 1.0f, 0.016f, 17.0f, false));

    // A file with only animation 0: the windows ask for 1 and 2.
    aiScene scene;
    scene.mRootNode = new aiNode("root");
    scene.mNumAnimations = 1;
    scene.mAnimations = new aiAnimation* [1] { new aiAnimation() };
    Model character;
    character.scene = &scene;
    EXPECT_FALSE(runCharacterScript(script, &character, 7, 1.0f, 0.016f, 17.0f, false));
    EXPECT_FALSE(runCharacterScript(script, &character, 7, 1.0f, 0.016f, 20.0f, true));
    EXPECT_FALSE(runCharacterScript(script, &character, 7, 1.0f, 0.016f, 60.0f, false));
    EXPECT_NE(script.characterMatrixA, makeCharacterScript().characterMatrixA) << "the script still moves on";
}
