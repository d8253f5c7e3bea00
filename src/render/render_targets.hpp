// The window-sized off-screen targets every frame renders through (scene colour, geometry buffer,
// occlusion and its blur), the empty vertex array of the full-screen passes, and the shadow target.
#pragma once

#include "render/shadow_map.hpp"

#include <glad/gl.h>

struct RenderTargets {
    int width = 0;
    int height = 0;

    GLuint sceneFBO = 0;
    GLuint sceneColor = 0;
    GLuint sceneColor1 = 0;
    GLuint sceneDepthStencil = 0;

    GLuint gBuffer = 0;
    GLuint gAttachment0 = 0;
    GLuint gNormalTexture = 0;
    GLuint gAttachment2 = 0;
    GLuint gAttachment3 = 0;
    GLuint gPositionTexture = 0;
    GLuint gShadowTexture = 0;
    GLuint gDepthStencil = 0;

    GLuint quadVAO = 0;

    GLuint ssaoFBO = 0;
    GLuint ssaoColorBuffer = 0;
    GLuint ssaoBlurFBO = 0;
    GLuint ssaoColorBufferBlur = 0;

    // The geometry buffer's depth of the static objects alone, kept before the character is drawn
    // into it: the lit pass starts from it so that hidden fragments are never shaded, and the
    // character, a step further along its walk by then, is depth-tested there on its own.
    GLuint staticDepthFBO = 0;
    GLuint staticDepthStencil = 0;
    bool staticDepthComplete = false;

    ShadowTarget shadow;
};

// Makes every target at width x height (the configured window size, never resized), the static
// depth copy, then the shadow target. An incomplete framebuffer prints its message and creation goes on.
// Leaves framebuffer 0 bound and quadVAO bound.
RenderTargets createRenderTargets(int width, int height);
