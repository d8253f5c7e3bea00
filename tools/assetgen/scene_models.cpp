// The "models" group: builds every static model of the scene, lays out the lightmap atlases, bakes the
// lightmaps from the placed scene, paints the atlas textures, and writes the OBJ/MTL files with all the
// textures they name.
#include "generators.hpp"
#include "lightmap_bake.hpp"
#include "obj_writer.hpp"
#include "scene_layout.hpp"
#include "scene_parts.hpp"

#include <chrono>
#include <cstdio>
#include <map>

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

// The lightmap file a mesh name selects: "Plane", or the key at characters 8 to 11 of a long name.
std::string lightmapPath(const std::string& meshName) {
    if (meshName == "Plane")
        return "Lightmaps/Lightmap.203.jpg";
    return "Lightmaps/Lightmap" + meshName.substr(8, 4) + ".jpg";
}

BakeSettings sceneLighting() {
    BakeSettings s;
    // The viewer lights the moon (through its shadow map, so the character's shadow falls too) and the
    // flickering street lamps live; baked in as well they would count twice, and a lamp's pool would
    // stay lit while the lamp is out. The lightmaps hold what the viewer cannot compute: sky light
    // shaped by what hides the sky (dark interiors, dim corners), and the glow of the fires.
    s.skyColor = glm::vec3(0.05f, 0.06f, 0.1f);
    s.moonColor = glm::vec3(0.0f);
    // The fires glow: on the top floor, on the chimney and inside the two burning wrecks.
    const std::vector<glm::vec3> fires = fireEmitters();
    const glm::vec3 flame(1.0f, 0.42f, 0.12f);
    s.lights.push_back({fires[0] + glm::vec3(0, 0.9f, 0), flame * 1.6f, 0.6f, 0.1f, 0.25f, 0.8f});
    s.lights.push_back({fires[1] + glm::vec3(0, 1.0f, 0), flame * 1.6f, 0.6f, 0.1f, 0.25f, 0.8f});
    s.lights.push_back({fires[2] + glm::vec3(0, 0.8f, 0), flame * 3.0f, 0.5f, 0.05f, 0.18f, 0.8f});
    s.lights.push_back({fires[3] + glm::vec3(0, 0.2f, 0), flame * 1.5f, 0.5f, 0.1f, 0.2f, 0.3f});
    return s;
}

bool excludedFromBake(const std::string& meshName) {
    // The lamps' glass surrounds the light itself.
    return meshName == "LampGlow";
}

} // namespace

bool generateSceneModels(const std::string& assetsDir) {
    const auto start = Clock::now();
    TextureLibrary library;
    library.assetsDir = assetsDir;
    bool ok = writeNoLightMap(assetsDir);

    std::vector<GeneratedModel> models;
    models.push_back(buildBuilding(library));
    models.push_back(buildSky(assetsDir, ok));
    models.push_back(buildCar(library));
    models.push_back(buildTree(library, 0));
    models.push_back(buildTree(library, 1));
    models.push_back(buildWindowModel(library));
    models.push_back(buildTerrain(library));
    models.push_back(buildMirror(library));
    std::printf("assetgen:   models built, tiled textures written (%.2f s)\n", since(start));
    std::fflush(stdout);

    std::map<std::string, GeneratedModel*> byStem;
    for (GeneratedModel& g : models) {
        byStem[g.model.fileStem] = &g;
        for (AtlasMesh& a : g.atlases)
            if (layoutAtlas(a) <= 0.0f) {
                std::fprintf(stderr, "assetgen: the charts of %s do not fit a %d atlas\n",
                             a.mesh.name.c_str(), a.lightmapSize);
                ok = false;
            }
    }

    BakeScene scene;
    for (const Placement& p : scenePlacements()) {
        if (p.file == "background")
            continue;
        const GeneratedModel& g = *byStem.at(p.file);
        const glm::mat4 toWorld = p.model * g.model.authoredToModel;
        for (const MeshData& m : g.model.meshes)
            if (!excludedFromBake(m.name))
                scene.add(m, toWorld);
        for (const AtlasMesh& a : g.atlases)
            scene.add(a.mesh, toWorld);
    }
    scene.commit();
    std::printf("assetgen:   bake scene ready, %zu triangles (%.2f s)\n", scene.triangles, since(start));
    std::fflush(stdout);

    const BakeSettings lighting = sceneLighting();
    uint32_t seed = 1;
    for (GeneratedModel& g : models) {
        for (AtlasMesh& a : g.atlases) {
            const auto t = Clock::now();
            const Image lightmap = bakeLightmap(scene, a, lighting, seed++);
            ok = writeJpeg(assetsDir, lightmapPath(a.mesh.name), lightmap, false, 95) && ok;
            ok = writeJpeg(assetsDir, a.diffusePath, paintAtlasDiffuse(a)) && ok;
            std::printf("assetgen:   %-26s lightmap %d, texture %d (%.2f s)\n", a.mesh.name.c_str(),
                        a.lightmapSize, a.lightmapSize * a.diffuseScale, since(t));
            std::fflush(stdout);
            // Lightmapped meshes name no specular map, so the viewer binds the lightmap to unit 1.
            g.model.materials.push_back({a.mesh.material, a.diffusePath, "", glm::vec3(0.1f), 8.0f});
            g.model.meshes.push_back(std::move(a.mesh));
        }
        g.atlases.clear();
    }

    size_t total = 0;
    for (GeneratedModel& g : models) {
        ok = writeObjModel(assetsDir, g.model) && ok;
        std::printf("assetgen:   models/%s.obj: %zu meshes, %zu triangles\n", g.model.fileStem.c_str(),
                    g.model.meshes.size(), g.model.triangleCount());
        total += g.model.triangleCount();
    }
    std::printf("assetgen:   %zu triangles in all models (%.2f s)\n", total, since(start));
    return ok && library.ok;
}
