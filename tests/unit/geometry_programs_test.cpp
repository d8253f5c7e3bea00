// Which geometry programs a frame draws with: the sky may go without its shadow term only where no
// view shows that term.
#include "render/buffer_views.hpp"

#include <gtest/gtest.h>

TEST(GeometryProgramsFor, TheShadowViewDrawsEveryObjectWithItsShadowTerm) {
    BufferViews views = createBufferViews("no shaders are read for these views/");
    const ShaderProgram full{1}, unshadowed{2}, skinned{3};
    const GeometryPrograms lit = geometryProgramsFor(views, full, unshadowed, skinned, BufferView::lit);
    EXPECT_EQ(lit.statics, &full);
    EXPECT_EQ(lit.staticsUnshadowed, &unshadowed);
    const GeometryPrograms shadow =
        geometryProgramsFor(views, full, unshadowed, skinned, BufferView::shadowTerm);
    EXPECT_EQ(shadow.statics, &full);
    EXPECT_EQ(shadow.staticsUnshadowed, nullptr);
}
