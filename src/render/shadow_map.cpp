// Creates the shadow-map target and sets up the depth pass from the fixed shadow light.
#include "render/shadow_map.hpp"

#include <glm/gtc/matrix_transform.hpp>

ShadowTarget createShadowTarget() {
    ShadowTarget shadow;
    glGenFramebuffers(1, &shadow.depthMapFBO);
    glGenTextures(1, &shadow.depthMap);

    glBindTexture(GL_TEXTURE_2D, shadow.depthMap);
    // 16 bits: the map is 8192 x 8192, so each bit per texel costs 8 MiB of memory, which a software
    // renderer holds in RAM. Its steps (1/65535 of the 119 units of depth, under 0.002 units) stay
    // well below the comparison's bias, so a lookup's answer changes only where a surface lies within
    // a step of that bias: single pixels at the edge of self-shadowing.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT16, kShadowMapSize, kShadowMapSize, 0,
                 GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_BORDER);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_BORDER);
    // Lookups outside the light's box read the far plane, so nothing there is shadowed.
    const float borderColor[] = {1.0f, 1.0f, 1.0f, 1.0f};
    glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, borderColor);

    glBindFramebuffer(GL_FRAMEBUFFER, shadow.depthMapFBO);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, shadow.depthMap, 0);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return shadow;
}

glm::mat4 computeLightSpaceMatrix() {
    const glm::mat4 lightProjection = glm::ortho(-90.0f, 90.0f, -90.0f, 90.0f, 1.0f, 120.0f);
    const glm::mat4 lightView =
        glm::lookAt(kShadowLightPosition, glm::vec3(0.0f, 0.0f, 0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    return lightProjection * lightView;
}

// Leaves depthMapFBO bound with the 8192 x 8192 viewport, depth test (GL_LESS) and writes on, stencil test
// off, blending off, back faces culled and depthProgram current; the geometry pass restores the window
// viewport.
void bindShadowPass(const ShaderProgram& depthProgram, const ShadowTarget& shadow,
                    const glm::mat4& lightSpaceMatrix) {
    depthProgram.use();
    depthProgram.setMat4("lightSpaceMatrix", lightSpaceMatrix);
    glViewport(0, 0, kShadowMapSize, kShadowMapSize);
    glBindFramebuffer(GL_FRAMEBUFFER, shadow.depthMapFBO);
    // A later pass may have turned depth writes off; a masked clear would keep last frame's depth.
    glDepthMask(GL_TRUE);
    glEnable(GL_DEPTH_TEST);
    // The lit pass of the previous frame left GL_LEQUAL.
    glDepthFunc(GL_LESS);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_BLEND);
    // The depth bias of the shadow lookup assumes the light sees front faces only.
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
}

void beginShadowPass(const ShaderProgram& depthProgram, const ShadowTarget& shadow,
                     const glm::mat4& lightSpaceMatrix) {
    bindShadowPass(depthProgram, shadow, lightSpaceMatrix);
    glClear(GL_DEPTH_BUFFER_BIT);
}

void markShadowDirty(ShadowTarget& shadow, const glm::mat4& lightSpaceMatrix, const glm::vec3& boxMin,
                     const glm::vec3& boxMax) {
    shadow.dirty = uniteRects(
        shadow.dirty, texelRectOfBox(boxMin, boxMax, lightSpaceMatrix, kShadowMapSize, kShadowDirtyMargin));
}
