// Renders the generated character to a contact sheet of poses (idle, walk from the side and from the
// front, looking around) and prints how far planted feet slide at the walk's ground speed, so the
// character can be judged without the viewer. Usage: preview_character ASSETS_DIR OUT.png (close-ups go
// to OUT.png.walk.png, .look.png and .rest.png).
#include "raster.hpp"
#include "skinned_pose.hpp"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>
#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

namespace {

constexpr float walkSpeed = 90.0f; // placement A, model units per second

View viewFrom(glm::vec3 direction, int column, int row, int cell = 220) {
    const glm::vec3 target(0.0f, 43.0f, 0.0f);
    const glm::mat4 view =
        glm::lookAt(target + glm::normalize(direction) * 200.0f, target, glm::vec3(0, 1, 0));
    return View{glm::ortho(-50.0f, 50.0f, -50.0f, 50.0f, 1.0f, 400.0f) * view, column * cell, row * cell,
                cell};
}

struct Scene {
    SkinnedCharacter character;
    std::vector<glm::vec2> uvs;
    std::vector<unsigned> indices;
    TextureImage skin;
};

void drawPose(Image& image, const Scene& s, const View& view, float seconds, unsigned animation,
              float groundShift) {
    fillCell(image, view, glm::vec3(0.16f, 0.18f, 0.22f));
    // Ground ticks that travel with the world: a planted foot keeps its place among them.
    for (int k = -12; k <= 12; ++k) {
        const float z = float(k) * 10.0f - std::fmod(groundShift, 10.0f);
        drawLine(image, view, {-30, 0, z}, {30, 0, z}, glm::vec3(0.35f, 0.4f, 0.3f));
    }
    drawLine(image, view, {0, 0, -120}, {0, 0, 120}, glm::vec3(0.45f, 0.5f, 0.4f));
    std::vector<glm::vec3> normals;
    const std::vector<glm::vec3> positions =
        skinVertices(s.character, boneMatrices(s.character, seconds, animation), &normals);
    drawTriangles(image, view, positions, normals, s.uvs, s.indices, s.skin, glm::vec3(-0.4f, -0.6f, -0.5f));
}

constexpr int stripCell = 400;

void writeStrip(const std::string& path, const std::function<void(Image&, int)>& drawCell) {
    Image strip = makeImage(5 * stripCell, stripCell, glm::vec3(0.1f));
    for (int c = 0; c < 5; ++c)
        drawCell(strip, c);
    stbi_write_png(path.c_str(), strip.width, strip.height, 3, strip.rgb.data(), strip.width * 3);
}

// Planted-foot slide: vertices touching the ground in two successive samples should not move over it.
void reportSlide(const Scene& s, unsigned animation, float seconds, float speed) {
    const float dt = 1.0f / 480.0f;
    std::vector<float> slides;
    std::vector<glm::vec3> previous;
    float lowest = 1e9f;
    for (int step = 0; step * dt < seconds; ++step) {
        const float t = float(step) * dt;
        std::vector<glm::vec3> p =
            skinVertices(s.character, boneMatrices(s.character, t, animation), nullptr);
        for (glm::vec3& v : p) {
            v.z += speed * t;
            lowest = std::min(lowest, v.y);
        }
        if (!previous.empty())
            for (size_t i = 0; i < p.size(); ++i)
                if (p[i].y < 0.3f && previous[i].y < 0.3f)
                    slides.push_back(std::hypot(p[i].x - previous[i].x, p[i].z - previous[i].z) / dt);
        previous = std::move(p);
    }
    std::sort(slides.begin(), slides.end());
    if (slides.empty()) {
        std::printf("animation %u at %.0f units/s: no vertex touches the ground\n", animation, speed);
        return;
    }
    std::printf("animation %u at %.0f units/s: lowest vertex y %.2f; ground-contact slide median %.1f, "
                "95th percentile %.1f, max %.1f units/s over %zu samples\n",
                animation, speed, lowest, slides[slides.size() / 2], slides[slides.size() * 95 / 100],
                slides.back(), slides.size());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: preview_character ASSETS_DIR OUT.png\n");
        return 2;
    }
    const std::string assets = argv[1];
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(assets + "/animations/WendrelAnimation.fbx",
                                             aiProcess_Triangulate | aiProcess_GenSmoothNormals |
                                                 aiProcess_FlipUVs | aiProcess_CalcTangentSpace);
    if (!scene || !scene->mNumMeshes || scene->mNumAnimations < 3) {
        std::fprintf(stderr, "preview_character: cannot use the character: %s\n", importer.GetErrorString());
        return 1;
    }
    Scene s;
    s.character = prepareCharacter(scene);
    const aiMesh* mesh = scene->mMeshes[0];
    std::printf("mesh '%s': %u vertices, %u triangles, %u bones\n", mesh->mName.C_Str(), mesh->mNumVertices,
                mesh->mNumFaces, mesh->mNumBones);
    for (unsigned a = 0; a < scene->mNumAnimations; ++a)
        std::printf("animation %u '%s': %.0f ticks at %.0f per second\n", a,
                    scene->mAnimations[a]->mName.C_Str(), scene->mAnimations[a]->mDuration,
                    scene->mAnimations[a]->mTicksPerSecond);
    for (unsigned v = 0; v < mesh->mNumVertices; ++v)
        s.uvs.emplace_back(mesh->mTextureCoords[0][v].x, mesh->mTextureCoords[0][v].y);
    for (unsigned f = 0; f < mesh->mNumFaces; ++f)
        for (unsigned k = 0; k < mesh->mFaces[f].mNumIndices; ++k)
            s.indices.push_back(mesh->mFaces[f].mIndices[k]);
    int w = 0, h = 0, n = 0;
    stbi_uc* skin = stbi_load((assets + "/textures/newSkin.jpg").c_str(), &w, &h, &n, 0);
    s.skin = TextureImage{w, h, n, skin};

    const int columns = 8, rows = 4, cell = 220;
    Image image = makeImage(columns * cell, rows * cell, glm::vec3(0.1f));
    const glm::vec3 threeQuarter(0.8f, 0.25f, 1.0f), side(1.0f, 0.05f, 0.0f), front(0.0f, 0.1f, 1.0f);
    for (int c = 0; c < 4; ++c)
        drawPose(image, s, viewFrom(threeQuarter, c, 0), float(c), 0, 0.0f);
    drawPose(image, s, viewFrom(front, 4, 0), 0.0f, 0, 0.0f);
    drawPose(image, s, viewFrom(side, 5, 0), 0.0f, 0, 0.0f);
    drawPose(image, s, viewFrom({-0.7f, 0.2f, -1.0f}, 6, 0), 1.0f, 0, 0.0f);
    drawPose(image, s, viewFrom({0.0f, 1.0f, 0.3f}, 7, 0), 0.0f, 0, 0.0f);
    const float cycle = 0.75f;
    for (int c = 0; c < columns; ++c) {
        const float t = cycle * float(c) / float(columns);
        drawPose(image, s, viewFrom(side, c, 1), t, 1, walkSpeed * t);
        drawPose(image, s, viewFrom(c < 4 ? threeQuarter : front, c, 2), t, 1, walkSpeed * t);
        drawPose(image, s, viewFrom(c % 2 ? threeQuarter : front, c, 3), 0.5f * float(c), 2, 0.0f);
    }
    stbi_write_png(argv[2], image.width, image.height, 3, image.rgb.data(), image.width * 3);

    // Closer looks: half a stride from the side (sliding or a broken knee would show), looking around,
    // and the rest pose from five sides.
    const std::string out = argv[2];
    writeStrip(out + ".walk.png", [&](Image& strip, int c) {
        const float t = 0.5f * cycle * float(c) / 4.0f;
        drawPose(strip, s, viewFrom(side, c, 0, stripCell), t, 1, walkSpeed * t);
    });
    writeStrip(out + ".look.png", [&](Image& strip, int c) {
        drawPose(strip, s, viewFrom(threeQuarter, c, 0, stripCell), 0.5f * float(c), 2, 0.0f);
    });
    const glm::vec3 around[5] = {front, threeQuarter, side, {-0.7f, 0.3f, -1.0f}, {-1.0f, -0.3f, 0.6f}};
    writeStrip(out + ".rest.png", [&](Image& strip, int c) {
        drawPose(strip, s, viewFrom(around[c], c, 0, stripCell), 0.0f, 0, 0.0f);
    });
    stbi_image_free(skin);

    reportSlide(s, 1, 3.0f, walkSpeed);
    reportSlide(s, 1, 3.0f, 2.0f * walkSpeed);
    reportSlide(s, 0, 4.0f, 0.0f);
    reportSlide(s, 2, 4.0f, 0.0f);
    return 0;
}
