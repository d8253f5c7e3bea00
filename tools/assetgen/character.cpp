// The character group: Wendrel's skinned, animated FBX and the texture atlas its mesh is mapped to.
#include "character_atlas.hpp"
#include "character_fbx.hpp"
#include "character_mesh.hpp"
#include "character_motion.hpp"
#include "character_skin.hpp"
#include "generators.hpp"

#include <stb_image_write.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

// The viewer substitutes this texture for every material texture of a mesh named "Zeus.obj".
const char* const meshName = "Zeus.obj";
const char* const skinPath = "textures/newSkin.jpg";
const char* const animationPath = "animations/WendrelAnimation.fbx";

bool writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), std::streamsize(text.size()));
    return bool(out);
}

} // namespace

bool generateCharacter(const std::string& assetsDir) {
    const std::filesystem::path root(assetsDir);
    std::error_code ec;
    std::filesystem::create_directories(root / "animations", ec);
    std::filesystem::create_directories(root / "textures", ec);

    const CharacterMesh mesh = buildCharacterMesh();
    float worstReach = 0.0f;
    const std::vector<CharacterClip> clips = buildCharacterClips(worstReach);
    if (worstReach > 1.0f)
        std::printf(
            "assetgen: character: a foot falls %.1f%% short of its footprint; the leg is kept straight\n",
            (worstReach - 1.0f) * 100.0f);

    std::string error;
    const std::string fbx = characterFbxText(mesh, clips, meshName, skinPath, error);
    if (fbx.empty()) {
        std::printf("assetgen: character: %s; no %s written\n", error.c_str(), animationPath);
        return false;
    }
    if (!writeText(root / animationPath, fbx)) {
        std::printf("assetgen: character: could not write %s\n", (root / animationPath).string().c_str());
        return false;
    }

    const std::vector<std::uint8_t> skin = paintCharacterSkin();
    const std::string skinFile = (root / skinPath).string();
    if (!stbi_write_jpg(skinFile.c_str(), skinAtlas::size, skinAtlas::size, 3, skin.data(), 90)) {
        std::printf("assetgen: character: could not write %s\n", skinFile.c_str());
        return false;
    }
    std::printf("assetgen: character: %zu triangles, %d bones, clips", mesh.indices.size() / 3,
                int(JointCount));
    for (const CharacterClip& clip : clips)
        std::printf(" %s %d s", clip.name.c_str(), clip.durationSeconds);
    std::printf("\n");
    return true;
}
