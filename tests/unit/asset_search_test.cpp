// Finding the assets folder: the line a search that finds nothing prints, and what counts as holding
// assets. (Which place wins, and the line announcing a later one, are checked by the install script,
// which starts the viewer inside its assets folder, from the repository root and installed.)
#include "app/asset_locator.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

TEST(SearchAssets, NoPlaceHoldingAssetsGivesOneLineNamingEveryPlaceAndTheWayOut) {
    const std::vector<AssetPlace> places = {{"the current folder", "/home/me"},
                                            {"the folder beside the program", "/src/build/assets"},
                                            {"the installed data folder", "/src/share/duskvale/assets"}};
    const AssetSearch search = searchAssets(places, [](const std::string&) { return false; });
    EXPECT_EQ(search.dir, "");
    EXPECT_EQ(search.note,
              "duskvale: found no assets (shaders/, models/, ...) in the current folder (/home/me), "
              "the folder beside the program (/src/build/assets) or the installed data folder "
              "(/src/share/duskvale/assets); start the viewer inside its assets folder or give "
              "--assets DIR");
}

TEST(FolderHoldsAssets, OnlyAnAssetsFolderWithShadersCounts) {
    const fs::path root = fs::path(::testing::TempDir()) / "asset_search_test";
    fs::remove_all(root);
    fs::create_directories(root / "full" / "assets" / "shaders");
    fs::create_directories(root / "no_shaders" / "assets" / "models");
    // The viewer reads its shaders as ../assets/shaders/..., so a folder of another name never works.
    fs::create_directories(root / "renamed" / "data" / "shaders");
    fs::create_directories(root / "file" / "assets");
    std::ofstream((root / "file" / "assets" / "shaders").string()) << "not a folder";

    EXPECT_TRUE(folderHoldsAssets((root / "full" / "assets").string()));
    EXPECT_FALSE(folderHoldsAssets((root / "no_shaders" / "assets").string()));
    EXPECT_FALSE(folderHoldsAssets((root / "renamed" / "data").string()));
    EXPECT_FALSE(folderHoldsAssets((root / "file" / "assets").string()));
    EXPECT_FALSE(folderHoldsAssets((root / "missing" / "assets").string()));
    fs::remove_all(root);
}
