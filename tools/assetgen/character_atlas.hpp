// Where each body part lies in the character's skin texture, in pixels from the image's top-left
// corner. The mesh builder maps its UVs into these rectangles and the texture painter paints them.
#pragma once

struct SkinRect {
    float x0, y0, x1, y1;
};

// Parts are tubes: u runs once around (back, left, front, right, back), so the front of a part is the
// middle column of its rectangle; v runs from the start of the part (y0) to its end (y1).
namespace skinAtlas {
constexpr int size = 512;
constexpr SkinRect torso{0, 256, 256, 0};   // starts at the crotch, ends at the neck
constexpr SkinRect leg{256, 0, 384, 256};   // hip to ankle
constexpr SkinRect arm{384, 0, 448, 256};   // shoulder to wrist
constexpr SkinRect hand{448, 0, 512, 96};   // wrist to fingertips
constexpr SkinRect foot{448, 96, 512, 256}; // heel to toe tip; u = 0.5 is the top of the boot
constexpr SkinRect head{0, 480, 256, 256};  // chin to crown
constexpr SkinRect neck{256, 320, 384, 256};
constexpr SkinRect ear{256, 320, 320, 384};
constexpr SkinRect nose{320, 320, 384, 384};
} // namespace skinAtlas
