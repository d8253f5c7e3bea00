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

TEST(SettingsOption, ReadsTheFileInBothSpellingsAndKeepsARelativeOneWhereTheViewerStarted) {
    struct Case {
        std::vector<std::string> args;
        std::string anchored; // after the viewer was started in /home/me
        std::string error;
    };
    const std::vector<Case> cases = {
        {{"--settings", "my.ini"}, "/home/me/my.ini", ""},
        {{"--settings=../conf/dv.ini"}, "/home/me/../conf/dv.ini", ""},
        {{"--settings", "/etc/dv.ini"}, "/etc/dv.ini", ""},
        {{}, "", ""}, // no option: the assets' own file
        {{"--settings="}, "", "--settings needs a file"},
        {{"--settings"}, "", "--settings needs a value (FILE)"},
    };
    for (const Case& c : cases) {
        ParsedOptions parsed = parseOptions(c.args);
        EXPECT_EQ(parsed.error, c.error);
        anchorOutputPaths(parsed.options, "/home/me");
        EXPECT_EQ(parsed.options.settingsFile, c.anchored);
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
