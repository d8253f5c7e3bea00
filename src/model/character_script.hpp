// The animated character's script over the automatic flight: two placements that walk, and which one
// (if any) each of the three scene passes draws at a flight time, with which animation of the file.
#pragma once

#include "model/model.hpp"

#include <glad/gl.h>
#include <glm/glm.hpp>

struct CharacterScript {
    glm::mat4 characterMatrixA{1.0f};
    glm::mat4 characterMatrixB{1.0f};
};

// A: on the street, T(-25, -1.5, -20) S(0.02); B: on the building's upper floor,
// T(-5.35482, 18.1, 3.96476) R(180 deg, Y) S(0.012).
CharacterScript makeCharacterScript();

// One pass's step of both placements along their own axes. It runs once per pass, so three times a
// frame; B's x step is per pass, not per second. With no time passing (deltaTime 0) neither moves.
void advanceCharacterPlacements(CharacterScript& script, float flightTime, float deltaTime);

struct CharacterDraw {
    bool visible = false;
    glm::mat4 matrix{1.0f};
    int animationIndex = 0;
};

// The draw window a flight time falls in (they do not overlap). The shadow pass's window for the second
// animation starts at 19 inclusive, the others' just after it.
CharacterDraw chooseCharacterDraw(const CharacterScript& script, float flightTime, bool shadowPass);

// One pass of the script: advances the placements, then draws the character with `program`, which the
// pass has made current and given its own uniforms. A missing character, or one whose file lacks the
// chosen animation, is not drawn. Returns whether it drew.
bool runCharacterScript(CharacterScript& script, Model* character, GLuint program, float now, float deltaTime,
                        float flightTime, bool shadowPass);
