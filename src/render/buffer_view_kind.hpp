// The buffers the window can show in place of the lit picture: their order (number keys 1 ... 9,
// then 0), their command-line names and their labels. Pure data, no GL.
#pragma once

#include <string>

enum class BufferView {
    lit,
    albedo,
    normals,
    positions,
    bakedLight,
    shadowTerm,
    rawOcclusion,
    blurredOcclusion,
    depth,
    shadowMap,
};

constexpr int bufferViewCount = 10;

struct BufferViewInfo {
    BufferView view;
    const char* name;  // for --view
    const char* label; // for the panel
};

// In key order: the first entry is on 1, the tenth on 0.
extern const BufferViewInfo bufferViews[bufferViewCount];

const BufferViewInfo& bufferViewInfo(BufferView view);

// Finds a view by its command-line name; false for an unknown name.
bool parseBufferView(const std::string& name, BufferView& view);

// "lit, albedo, ... or shadow-map", for help and error lines.
std::string bufferViewNameList();

// The albedo and baked-light views need the geometry pass to store the mesh textures, which every
// other view leaves out.
bool viewNeedsMaterial(BufferView view);

// The view on number key `digit` (0 ... 9); false for anything else.
bool bufferViewForDigit(int digit, BufferView& view);
