// Steps and draws the scene's emitters once per frame.
#include "particles/particle_pass.hpp"

#include <algorithm>

void beginParticlePass() {
    // The lit pass leaves the depth test on; the pass says so itself because smoke must stay behind
    // the scene's geometry whatever ran before.
    glEnable(GL_DEPTH_TEST);
    // The sprites write colour output 0 only. Left writable, the scene target's second attachment
    // would receive undefined values, and a software rasterizer pays for blending them.
    glColorMaski(1, GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
}

void endParticlePass() {
    glColorMaski(1, GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void runParticlePass(std::vector<ParticleSystem>& emitters, const std::vector<glm::mat4>& placements,
                     const glm::mat4& view, const glm::mat4& projection, double deltaTime) {
    beginParticlePass();
    const size_t count = std::min(emitters.size(), placements.size());
    for (size_t k = 0; k < count; ++k)
        emitters[k].update(deltaTime);
    for (size_t k = 0; k < count; ++k)
        emitters[k].draw(view * placements[k], projection);
    endParticlePass();
}
