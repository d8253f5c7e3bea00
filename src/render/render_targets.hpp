// The window-sized off-screen targets every frame renders through (scene colour, geometry buffer,
// occlusion and its blur), the empty vertex array of the full-screen passes, and the shadow target.
// The window-sized ones are remade whenever the window's framebuffer changes size.
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

    // Whether sceneFBO is complete, so that the geometry pass can leave the static objects' depth in
    // sceneDepthStencil, before the character is drawn into its own: the lit pass starts from it so
    // that hidden fragments are never shaded, and the character, a step further along its walk by
    // then, is depth-tested there on its own.
    bool staticDepthComplete = false;

    ShadowTarget shadow;
};

// Makes every target at width x height (the window's framebuffer size), then the shadow target, or takes
// keptShadow instead of making one. An incomplete framebuffer prints its message and creation goes on. Leaves
// framebuffer 0 bound and quadVAO bound.
RenderTargets createRenderTargets(int width, int height, const ShadowTarget* keptShadow = nullptr);

// Deletes every GL object createRenderTargets made except the shadow target, and zeroes their names.
// Every screen-sized object added to createRenderTargets belongs here too, or each resize leaks it.
// Leaves framebuffer 0 and vertex array 0 bound.
void destroyScreenTargets(RenderTargets& targets);

// Remakes the screen-sized targets at a new size (the window was resized); the shadow target, whose
// size does not depend on the window, is kept. Leaves framebuffer 0 bound and quadVAO bound.
void resizeRenderTargets(RenderTargets& targets, int width, int height);
