// Which geometry programs a frame draws with: the sky may go without its shadow term only where no
// view shows that term.
#include "render/buffer_views.hpp"

#include <gtest/gtest.h>

TEST(GeometryProgramsFor, TheShadowViewDrawsEveryObjectWithItsShadowTerm) {
    BufferViews views = createBufferViews("no shaders are read for these views/");
    const ShaderProgram full{1}, unshadowed{2}, skinned{3};
    for (BufferView view : {BufferView::lit, BufferView::normals, BufferView::blurredOcclusion}) {
        const GeometryPrograms programs = geometryProgramsFor(views, full, unshadowed, skinned, view);
        EXPECT_EQ(programs.statics, &full);
        EXPECT_EQ(programs.staticsUnshadowed, &unshadowed);
        EXPECT_EQ(programs.skinned, &skinned);
    }
    const GeometryPrograms shadowView =
        geometryProgramsFor(views, full, unshadowed, skinned, BufferView::shadowTerm);
    EXPECT_EQ(shadowView.statics, &full);
    EXPECT_EQ(shadowView.staticsUnshadowed, nullptr);
}
