// Prepares the off-screen scene target and the screen-space inputs of the lit programs.
#include "render/lit_pass.hpp"

// Leaves sceneFBO bound with the static objects' depth in it, depth test on with GL_LEQUAL and depth
// writes off, the stencil test on, blending off, back faces culled and the second colour attachment
// masked; endLitPass turns depth writes and that attachment back on and the stencil test off. The particle
// pass draws into the same target with this depth buffer, where the character's lit draw adds its own depth.
void beginLitPass(const RenderTargets& targets) {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, targets.sceneFBO);
    glViewport(0, 0, targets.width, targets.height);
    // The lit programs write colour output 0 only, and no pass reads the second attachment: masked,
    // it is neither cleared nor written (on llvmpipe each is a store per pixel).
    glColorMaski(1, GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glDepthMask(GL_TRUE);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);

    if (!targets.staticDepthComplete) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    glClear(GL_COLOR_BUFFER_BIT);
    // The geometry pass has already found every pixel's nearest static surface. With that depth in
    // place llvmpipe's early depth test rejects hidden fragments before they are shaded, so each
    // pixel is lit once instead of once per surface drawn over it.
    // keepStaticDepth copied depth and stencil alike, bit for bit: the stencil the geometry pass
    // cleared arrives zero.
    // Both programs declare gl_Position invariant and compute it by the same expression from the
    // same model and view-projection matrices, which GLSL guarantees to give the same position on any
    // conforming driver: a fragment of the nearest surface meets its stored depth exactly and passes.
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_FALSE);
    // Where surfaces lie exactly in one plane, every one of them now passes; the stencil, zero
    // everywhere, lets only the first drawn colour the pixel, as the plain depth test of a cleared
    // buffer would.
    glEnable(GL_STENCIL_TEST);
    glStencilMask(0xFF);
    glStencilFunc(GL_EQUAL, 0, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
}

// The character has walked on since the geometry pass, so its lit draw is depth-tested against the
// static scene as an ordinary draw, and leaves its depth for the particles.
void endLitPass() {
    glDisable(GL_STENCIL_TEST);
    glDepthMask(GL_TRUE);
    glColorMaski(1, GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

// Leaves unit 0 active.
void bindLitPassInputs(const ShaderProgram& program, const RenderTargets& targets) {
    program.setInt("ssao", 2);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, targets.ssaoColorBufferBlur);
    program.setInt("shadowMap", 3);
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, targets.gShadowTexture);
    glActiveTexture(GL_TEXTURE0);
}
