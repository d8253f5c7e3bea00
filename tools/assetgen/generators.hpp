// The groups of files the asset generator writes. Each group writes below the assets folder it is
// given, is deterministic (fixed seeds, no time stamps) and returns false when a file could not be
// written.
#pragma once

#include <string>

// models/*.obj and their .mtl files, the material textures they name, and the baked Lightmaps/.
bool generateSceneModels(const std::string& assetsDir);
// animations/WendrelAnimation.fbx and textures/newSkin.jpg.
bool generateCharacter(const std::string& assetsDir);
// textures/smoke0.png ... smoke5.png.
bool generateSprites(const std::string& assetsDir);
// audio/backgroundMusic.mp3 and audio/wendrelSound.mp3.
bool generateAudio(const std::string& assetsDir);
