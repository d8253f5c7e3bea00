// Writes the skinned character and its clips as ASCII FBX through Assimp's exporter, with the fixes
// that make the file read back through Assimp 5.2 and come out byte-identical on every run.
#pragma once

#include "character_mesh.hpp"
#include "character_motion.hpp"

#include <string>
#include <vector>

// The mesh hangs from a node named meshName (the FBX reader names the mesh after it); its material's
// diffuse and specular maps are texturePath. Returns the FBX text, or an empty string with a reason
// in error.
std::string characterFbxText(const CharacterMesh& mesh, const std::vector<CharacterClip>& clips,
                             const std::string& meshName, const std::string& texturePath, std::string& error);
