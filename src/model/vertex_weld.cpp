// Joins byte-identical vertices through a hash map keyed by their bytes.
#include "model/vertex_weld.hpp"

#include <cstring>
#include <string>
#include <unordered_map>
#include <utility>

WeldedArrays weldVertices(const std::vector<Vertex>& vertices, const std::vector<VertexBoneData>& boneData,
                          const std::vector<unsigned int>& indices) {
    WeldedArrays welded;
    const bool skinned = !boneData.empty();
    std::unordered_map<std::string, unsigned int> placeOf;
    placeOf.reserve(vertices.size());
    std::vector<unsigned int> joined(vertices.size());
    const VertexBoneData noBones;
    std::string key(sizeof(Vertex) + sizeof(VertexBoneData), '\0');
    for (std::size_t v = 0; v < vertices.size(); ++v) {
        const VertexBoneData& bones = v < boneData.size() ? boneData[v] : noBones;
        std::memcpy(&key[0], &vertices[v], sizeof(Vertex));
        std::memcpy(&key[sizeof(Vertex)], &bones, sizeof(VertexBoneData));
        const auto [place, isNew] = placeOf.emplace(key, static_cast<unsigned int>(welded.vertices.size()));
        if (isNew) {
            welded.vertices.push_back(vertices[v]);
            if (skinned)
                welded.boneData.push_back(bones);
        }
        joined[v] = place->second;
    }
    welded.indices.reserve(indices.size());
    for (const unsigned int index : indices)
        // An index beyond the imported vertices is beyond the fewer joined ones too.
        welded.indices.push_back(index < joined.size() ? joined[index] : index);
    return welded;
}
