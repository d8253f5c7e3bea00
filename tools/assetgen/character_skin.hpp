// Paints newSkin.jpg, Wendrel's texture atlas: a hooded, ash-skinned figure in worn, patched cloth,
// bandaged forearms and shins and scuffed boots, laid out to match the mesh's UV rectangles.
#pragma once

#include <cstdint>
#include <vector>

// RGB pixels, skinAtlas::size x skinAtlas::size, top row first.
std::vector<std::uint8_t> paintCharacterSkin();
