// Buffer views as the command line and the number keys choose them: every name and key reaches its
// view, in the order the README gives, and a wrong name is refused with the list of right ones.
#include "app/options.hpp"
#include "render/buffer_view_kind.hpp"

#include <gtest/gtest.h>

#include <string>

TEST(BufferViews, NamesAndKeysReachTheirViewInTheDocumentedOrder) {
    struct Row {
        const char* name;
        int key;
        BufferView view;
    };
    const Row rows[] = {
        {"lit", 1, BufferView::lit},
        {"albedo", 2, BufferView::albedo},
        {"normals", 3, BufferView::normals},
        {"positions", 4, BufferView::positions},
        {"baked-light", 5, BufferView::bakedLight},
        {"shadow", 6, BufferView::shadowTerm},
        {"occlusion", 7, BufferView::rawOcclusion},
        {"blurred-occlusion", 8, BufferView::blurredOcclusion},
        {"depth", 9, BufferView::depth},
        {"shadow-map", 0, BufferView::shadowMap},
    };
    for (const Row& row : rows) {
        BufferView byName = BufferView::lit;
        BufferView byKey = BufferView::lit;
        EXPECT_TRUE(parseBufferView(row.name, byName)) << row.name;
        EXPECT_TRUE(bufferViewForDigit(row.key, byKey)) << row.key;
        EXPECT_EQ(byName, row.view) << row.name;
        EXPECT_EQ(byKey, row.view) << row.key;
        EXPECT_STREQ(bufferViewInfo(row.view).name, row.name);

        const ParsedOptions parsed = parseOptions({"--view", row.name});
        EXPECT_EQ(parsed.error, "");
        EXPECT_EQ(parsed.options.view, row.view) << row.name;
        // --help lists every name, so nobody has to guess them.
        EXPECT_NE(optionsHelp().find(row.name), std::string::npos) << row.name;
    }
    BufferView untouched = BufferView::depth;
    EXPECT_FALSE(bufferViewForDigit(10, untouched));
    EXPECT_EQ(untouched, BufferView::depth);
}

TEST(BufferViews, AnUnknownViewIsRefusedWithOneLineListingTheValidNames) {
    for (const char* wrong : {"Normals", "ssao", "", "lit "}) {
        const ParsedOptions parsed = parseOptions({"--view", wrong});
        EXPECT_EQ(parsed.error,
                  "--view takes lit, albedo, normals, positions, baked-light, shadow, occlusion, "
                  "blurred-occlusion, depth or shadow-map, got '" +
                      std::string(wrong) + "'");
    }
}
