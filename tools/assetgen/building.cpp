// Assembles Post_Apocalyptic_Building.obj: a six-storey concrete block, authored in world units and
// stored in model units (the scene scales it by 1.8). Its top floor (world y 18.1) is where the
// character walks; the camera flies through the two top storeys and circles the outside.
#include "building_parts.hpp"

#include <cstdio>

namespace {

void addAtlas(GeneratedModel& g, const char* name, const char* texture, int lightmapSize, int scale) {
    AtlasMesh a;
    a.mesh.name = name;
    a.mesh.material = std::string("Bld") + texture;
    a.lightmapSize = lightmapSize;
    a.diffuseScale = scale;
    a.diffusePath = std::string("textures/building_") + texture + ".jpg";
    a.painter = paintBuilding;
    g.atlases.push_back(std::move(a));
}

} // namespace

GeneratedModel buildBuilding(TextureLibrary& library) {
    GeneratedModel g;
    g.model.fileStem = "Post_Apocalyptic_Building";
    g.model.authoredToModel = glm::inverse(buildingMatrix());
    // Mesh names longer than 10 characters carry their lightmap key at characters 8 to 11.
    addAtlas(g, "Building.001_FacadeSouth", "001", 256, 4);
    addAtlas(g, "Building.002_FacadeNorth", "002", 256, 4);
    addAtlas(g, "Building.003_FacadeEast", "003", 256, 4);
    addAtlas(g, "Building.004_FacadeWest", "004", 256, 4);
    addAtlas(g, "Building.005_TopFloor", "005", 256, 4);
    addAtlas(g, "Building.006_FloorFour", "006", 256, 4);
    addAtlas(g, "Building.007_Roof", "007", 256, 4);
    addAtlas(g, "Building.008_Ceilings", "008", 256, 4);
    addAtlas(g, "Building.009_Interior", "009", 512, 2);
    buildShell(g, library);
    buildInterior(g);
    buildWindows(g, library);
    buildDebris(g, library);
    buildRooftop(g, library);
    return g;
}
