// Draws one intermediate buffer in place of the lit picture, and asks the geometry programs for the
// material attachments while a view needs them.
#include "render/buffer_views.hpp"

#include "render/final_pass.hpp"

namespace {

// The copy must match the geometry buffer's depth format exactly for the blit.
void ensureDepthCopy(BufferViews& views, int width, int height) {
    if (views.depthCopyFBO != 0 && views.depthCopyWidth == width && views.depthCopyHeight == height)
        return;
    if (views.depthCopyFBO == 0)
        glGenFramebuffers(1, &views.depthCopyFBO);
    if (views.depthCopy != 0)
        glDeleteTextures(1, &views.depthCopy);
    glGenTextures(1, &views.depthCopy);
    glBindTexture(GL_TEXTURE_2D, views.depthCopy);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH24_STENCIL8, width, height, 0, GL_DEPTH_STENCIL,
                 GL_UNSIGNED_INT_24_8, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, views.depthCopyFBO);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_TEXTURE_2D, views.depthCopy, 0);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    views.depthCopyWidth = width;
    views.depthCopyHeight = height;
}

// The texture a view reads; the depth view first copies the geometry buffer's depth.
GLuint viewSource(BufferViews& views, const RenderTargets& targets, BufferView view) {
    switch (view) {
    case BufferView::albedo:
        return targets.gAttachment0;
    case BufferView::normals:
        return targets.gNormalTexture;
    case BufferView::positions:
        return targets.gPositionTexture;
    case BufferView::bakedLight:
        return targets.gAttachment2;
    case BufferView::shadowTerm:
        return targets.gShadowTexture;
    case BufferView::rawOcclusion:
        return targets.ssaoColorBuffer;
    case BufferView::blurredOcclusion:
        return targets.ssaoColorBufferBlur;
    case BufferView::depth:
        ensureDepthCopy(views, targets.width, targets.height);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, targets.gBuffer);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, views.depthCopyFBO);
        glBlitFramebuffer(0, 0, targets.width, targets.height, 0, 0, targets.width, targets.height,
                          GL_DEPTH_BUFFER_BIT, GL_NEAREST);
        return views.depthCopy;
    case BufferView::shadowMap:
        return targets.shadow.depthMap;
    case BufferView::lit:
        break;
    }
    return targets.sceneColor;
}

} // namespace

BufferViews createBufferViews(const std::string& shaderFolder) {
    BufferViews views;
    views.shaderFolder = shaderFolder;
    return views;
}

GeometryPrograms geometryProgramsFor(BufferViews& views, const ShaderProgram& geometryProgram,
                                     const ShaderProgram& geometryUnshadowedProgram,
                                     const ShaderProgram& geometrySkinnedProgram, BufferView view) {
    if (view == BufferView::shadowTerm)
        return {&geometryProgram, nullptr, &geometrySkinnedProgram};
    if (!viewNeedsMaterial(view))
        return {&geometryProgram, &geometryUnshadowedProgram, &geometrySkinnedProgram};
    if (!views.materialBuilt) {
        const std::string fragment =
            withDefine(readShaderSource(views.shaderFolder + "geometryShader.frag"), "STORE_MATERIAL");
        views.materialGeometry =
            buildProgram(readShaderSource(views.shaderFolder + "geometryShader.vert"), fragment);
        views.materialGeometrySkinned =
            buildProgram(readShaderSource(views.shaderFolder + "skinning_phong_shader.vert"), fragment);
        for (const ShaderProgram* program : {&views.materialGeometry, &views.materialGeometrySkinned}) {
            if (program->id == 0)
                continue;
            glProgramUniform1i(program->id, glGetUniformLocation(program->id, "diffuse"), 0);
            glProgramUniform1i(program->id, glGetUniformLocation(program->id, "bakedLight"), 1);
        }
        views.materialBuilt = true;
    }
    return {&views.materialGeometry, nullptr, &views.materialGeometrySkinned};
}

void runViewPass(const ShaderProgram& colorProgram, BufferViews& views, const RenderTargets& targets,
                 BufferView view) {
    if (view == BufferView::lit) {
        runFinalPass(colorProgram, targets);
        return;
    }
    if (!views.programBuilt) {
        views.program = buildProgram(readShaderSource(views.shaderFolder + "color.vert"),
                                     readShaderSource(views.shaderFolder + "buffer_view.frag"));
        views.programBuilt = true;
    }
    const GLuint source = viewSource(views, targets, view);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, targets.width, targets.height);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    views.program.use();
    views.program.setInt("source", 0);
    views.program.setInt("mode", static_cast<int>(view));
    views.program.setFloat("aspect", static_cast<float>(targets.width) / static_cast<float>(targets.height));
    glBindVertexArray(targets.quadVAO);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_BLEND);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, source);
    glDrawArrays(GL_TRIANGLES, 0, 6);
}
