// Where and when the character walks during the flight, and the draw one pass makes of it.
#include "model/character_script.hpp"

#include "model/animation.hpp"

#include <glm/gtc/matrix_transform.hpp>

namespace {

constexpr float streetWalkStart = 59.0f;
constexpr float streetWindowStart = 55.0f;
constexpr float floorWindowStart = 16.0f;
constexpr float floorAnimationSwitch = 19.0f;
constexpr float floorWalkEnd = 19.5f;
constexpr float floorWindowEnd = 27.0f;

} // namespace

CharacterScript makeCharacterScript() {
    const glm::mat4 identity(1.0f);
    CharacterScript script;
    script.characterMatrixA = glm::scale(glm::translate(identity, glm::vec3(-25.0f, -1.5f, -20.0f)),
                                         glm::vec3(0.02f, 0.02f, 0.02f));
    script.characterMatrixB =
        glm::scale(glm::rotate(glm::translate(identity, glm::vec3(-5.35482f, 18.1f, 3.96476f)),
                               glm::radians(180.0f), glm::vec3(0.0f, 1.0f, 0.0f)),
                   glm::vec3(0.012f, 0.012f, 0.012f));
    return script;
}

void advanceCharacterPlacements(CharacterScript& script, float flightTime, float deltaTime) {
    // B's sideways step is per pass, not per second, so a frame in which the scene clock stands still
    // (paused) must skip the step explicitly, or B would drift while everything else is frozen.
    if (deltaTime <= 0.0f)
        return;
    if (flightTime > streetWalkStart)
        script.characterMatrixA =
            glm::translate(script.characterMatrixA, glm::vec3(0.0f, 0.0f, 30.0f * deltaTime));
    if (flightTime > floorWindowStart && flightTime < floorWalkEnd)
        script.characterMatrixB =
            glm::translate(script.characterMatrixB, glm::vec3(0.01f, 0.0f, 60.0f * deltaTime));
}

CharacterDraw chooseCharacterDraw(const CharacterScript& script, float flightTime, bool shadowPass) {
    if (flightTime > streetWindowStart)
        return CharacterDraw{true, script.characterMatrixA, 1};
    if (flightTime > floorWindowStart && flightTime < floorAnimationSwitch)
        return CharacterDraw{true, script.characterMatrixB, 1};
    const bool afterSwitch =
        shadowPass ? flightTime >= floorAnimationSwitch : flightTime > floorAnimationSwitch;
    if (afterSwitch && flightTime < floorWindowEnd)
        return CharacterDraw{true, script.characterMatrixB, 2};
    return CharacterDraw{};
}

bool runCharacterScript(CharacterScript& script, Model* character, GLuint program, float now, float deltaTime,
                        float flightTime, bool shadowPass) {
    advanceCharacterPlacements(script, flightTime, deltaTime);
    const CharacterDraw draw = chooseCharacterDraw(script, flightTime, shadowPass);
    if (!draw.visible || !character)
        return false;
    return drawSkinned(now, *character, program, draw.matrix, draw.animationIndex);
}
