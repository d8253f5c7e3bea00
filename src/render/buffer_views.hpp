// Buffer views on screen: the final pass shows either the lit picture or one intermediate buffer
// (geometry-buffer attachments, occlusion, depth, the shadow map) over the whole window.
#pragma once

#include "render/buffer_view_kind.hpp"
#include "render/render_targets.hpp"
#include "render/shader_program.hpp"

#include <glad/gl.h>

#include <string>

struct BufferViews {
    std::string shaderFolder;
    // color.vert with buffer_view.frag, built when a view is first shown, so that a run that never
    // leaves the lit picture reads no more shader files than before.
    ShaderProgram program;
    bool programBuilt = false;
    // A sampleable copy of the geometry buffer's depth (a renderbuffer, which no shader can read),
    // made only while the depth view is shown, at the targets' size of the moment.
    GLuint depthCopyFBO = 0;
    GLuint depthCopy = 0;
    int depthCopyWidth = 0;
    int depthCopyHeight = 0;
    // The geometry programs built with STORE_MATERIAL, which also store albedo and baked light in
    // attachments 0 and 2: made when the albedo or baked-light view is first shown.
    ShaderProgram materialGeometry;
    ShaderProgram materialGeometrySkinned;
    bool materialBuilt = false;
};

// The geometry pass's programs for one frame.
struct GeometryPrograms {
    const ShaderProgram* statics = nullptr;
    // For the static objects whose shadow term the lit pass never reads; null where statics must
    // draw them too (the views that show the shadow term or the mesh textures).
    const ShaderProgram* staticsUnshadowed = nullptr;
    const ShaderProgram* skinned = nullptr;
};

// Remembers the shaders folder (e.g. "../assets/shaders/") for the view program. A program that fails
// to build has id 0, and its views then draw nothing useful; the lit picture is unaffected.
BufferViews createBufferViews(const std::string& shaderFolder);

// Before the geometry pass: the scene's own geometry programs, or, for the albedo and baked-light
// views, their variants that also store the mesh textures in attachments 0 and 2, which every other
// view leaves out. A variant that fails to build has id 0 and draws nothing.
GeometryPrograms geometryProgramsFor(BufferViews& views, const ShaderProgram& geometryProgram,
                                     const ShaderProgram& geometryUnshadowedProgram,
                                     const ShaderProgram& geometrySkinnedProgram, BufferView view);

// The frame's last pass: the lit picture through colorProgram (runFinalPass), or the chosen buffer.
// Reads the targets' textures as they are now, so it follows targets that were made anew. Leaves the
// state runFinalPass leaves: framebuffer 0 bound for drawing, depth, stencil and blending off,
// quadVAO bound and unit 0 active.
void runViewPass(const ShaderProgram& colorProgram, BufferViews& views, const RenderTargets& targets,
                 BufferView view);
