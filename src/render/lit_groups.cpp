// The lit pass's material table.
#include "render/lit_groups.hpp"

void markShadowTermReaders(std::vector<SceneObject>& objects, const std::vector<LitGroup>& groups) {
    for (SceneObject& object : objects) {
        bool held = false;
        bool moonlit = false;
        for (const LitGroup& group : groups)
            for (const SceneObject& member : group.objects)
                if (member.model == object.model) {
                    held = true;
                    moonlit = moonlit || group.directionalCount > 0;
                }
        object.shadowTermRead = moonlit || !held;
    }
}

std::vector<LitGroup> buildLitGroups(const SceneObject& building, const std::vector<SceneObject>& trees,
                                     const SceneObject& terrain, const SceneObject& window,
                                     const std::vector<SceneObject>& cars, const SceneObject& background) {
    LitGroup solid{{building}, MaterialParams{0.3f, 0.5f, 0.4f, false}, 3, 1};
    solid.objects.insert(solid.objects.end(), trees.begin(), trees.end());
    solid.objects.push_back(terrain);
    const LitGroup glass{{window}, MaterialParams{0.3f, 0.5f, 0.4f, true}, 3, 1};
    const LitGroup paint{cars, MaterialParams{0.3f, 0.5f, 0.4f, true}, 0, 1};
    const LitGroup sky{{background}, MaterialParams{0.7f, 0.5f, 0.4f, false}, 3, 0};
    return {solid, glass, paint, sky};
}
