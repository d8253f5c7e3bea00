// Writes a generated model as a Wavefront OBJ with its material library, the way the viewer's importer
// reads them: one `o` object per mesh (its name becomes the mesh name) with exactly one material.
#pragma once

#include "mesh_data.hpp"

#include <string>

// Writes models/<stem>.obj and models/<stem>.mtl below assetsDir, with positions and normals taken
// through model.authoredToModel. Numbers are printed with fixed precision so output is reproducible.
bool writeObjModel(const std::string& assetsDir, const ModelData& model);
