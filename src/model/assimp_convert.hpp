// Conversions from Assimp's row-major matrices to GLM's column-major ones that denote the same matrix
// (row r, column c stays row r, column c).
#pragma once

#include <assimp/matrix4x4.h>
#include <glm/glm.hpp>

inline glm::mat4 toGlm(const aiMatrix4x4& m) {
    glm::mat4 result;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            result[column][row] = m[row][column];
    return result;
}
