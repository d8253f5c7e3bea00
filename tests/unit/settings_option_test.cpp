// --settings: both spellings, a relative file kept where the viewer was started, and which files the
// viewer refuses before it starts.
#include "app/options.hpp"
#include "app/settings.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

TEST(SettingsOption, ReadsTheFileInBothSpellingsAndRefusesAnEmptyOne) {
    EXPECT_EQ(parseOptions({"--settings", "my.ini"}).options.settingsFile, "my.ini");
    EXPECT_EQ(parseOptions({"--settings=/etc/dv.ini"}).options.settingsFile, "/etc/dv.ini");
    EXPECT_EQ(parseOptions({}).options.settingsFile, "");
    EXPECT_EQ(parseOptions({"--settings="}).error, "--settings needs a file");
    EXPECT_EQ(parseOptions({"--settings"}).error, "--settings needs a value (FILE)");
    EXPECT_NE(optionsHelp().find("--settings FILE"), std::string::npos);
}

TEST(SettingsOption, ARelativeFileIsTakenFromWhereTheViewerWasStarted) {
    struct Case {
        std::string given, anchored;
    };
    const std::vector<Case> cases = {
        {"my.ini", "/home/me/my.ini"},
        {"../conf/dv.ini", "/home/me/../conf/dv.ini"},
        {"/etc/dv.ini", "/etc/dv.ini"},
    };
    for (const Case& c : cases) {
        Options options = parseOptions({"--settings", c.given}).options;
        anchorOutputPaths(options, "/home/me");
        EXPECT_EQ(options.settingsFile, c.anchored);
    }
}

TEST(SettingsFileProblem, AReadableFileIsFineAndAnythingElseIsOneLineNamingIt) {
    const fs::path root = fs::path(::testing::TempDir()) / "settings_option_test";
    fs::remove_all(root);
    fs::create_directories(root / "folder.ini");
    std::ofstream((root / "good.ini").string()) << "[window]\nwidth = 640\n";
    std::ofstream((root / "empty.ini").string());

    EXPECT_EQ(settingsFileProblem((root / "good.ini").string()), "");
    EXPECT_EQ(settingsFileProblem((root / "empty.ini").string()), "");
    const std::string missing = (root / "missing.ini").string();
    EXPECT_EQ(settingsFileProblem(missing),
              "--settings: cannot read '" + missing + "': No such file or directory");
    const std::string folder = (root / "folder.ini").string();
    EXPECT_EQ(settingsFileProblem(folder), "--settings: '" + folder + "' is a folder, not a settings file");
    // Root reads any file whatever its mode, so only an ordinary user sees the refusal.
    if (geteuid() != 0) {
        const fs::path locked = root / "locked.ini";
        std::ofstream(locked.string()) << "[window]\n";
        fs::permissions(locked, fs::perms::none);
        EXPECT_NE(settingsFileProblem(locked.string()).find("Permission denied"), std::string::npos);
    }
    fs::remove_all(root);
}
