// Finding the assets folder: which place wins for every mix of places that hold assets, the lines a
// search prints, and what counts as holding assets. (The places of a build and an install are checked
// by the install script, which starts both from elsewhere.)
#include "app/asset_locator.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::vector<AssetPlace> places = {{"the current folder", "/home/me"},
                                        {"the folder beside the program", "/src/build/assets"},
                                        {"the installed data folder", "/src/share/duskvale/assets"}};

AssetSearch searchWhere(const std::set<std::string>& holding) {
    return searchAssets(places, [&holding](const std::string& dir) { return holding.count(dir) > 0; });
}

} // namespace

TEST(SearchAssets, TheFirstPlaceHoldingAssetsWinsAndOnlyALaterOneIsAnnounced) {
    struct Case {
        std::set<std::string> holding;
        std::string winner;
        bool announced;
    };
    const std::vector<Case> cases = {
        {{"/home/me", "/src/build/assets", "/src/share/duskvale/assets"}, "/home/me", false},
        {{"/home/me"}, "/home/me", false},
        {{"/src/build/assets", "/src/share/duskvale/assets"}, "/src/build/assets", true},
        {{"/src/share/duskvale/assets"}, "/src/share/duskvale/assets", true},
    };
    for (const Case& c : cases) {
        const AssetSearch search = searchWhere(c.holding);
        EXPECT_EQ(search.dir, c.winner);
        if (c.announced) {
            EXPECT_NE(search.note.find(c.winner), std::string::npos) << search.note;
            EXPECT_EQ(search.note.find('\n'), std::string::npos) << search.note;
        } else {
            EXPECT_EQ(search.note, "") << c.winner;
        }
    }
}

TEST(SearchAssets, NoPlaceHoldingAssetsGivesOneLineNamingEveryPlaceAndTheWayOut) {
    const AssetSearch search = searchWhere({});
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
