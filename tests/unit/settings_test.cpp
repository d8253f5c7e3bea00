// Reading the settings file: the designed line for a missing file, every key of [window], inih's
// number, boolean, section and name rules, and the files --settings refuses. (Saturation and repeated
// keys are checked on the real viewer by the settings robustness script.)
#include "app/settings.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

Settings loadFrom(const std::string& contents) {
    const std::string path = ::testing::TempDir() + "settings_test.ini";
    std::ofstream(path, std::ios::binary) << contents;
    return loadSettings(path);
}

} // namespace

TEST(LoadSettings, MissingFilePrintsTheDesignedLineAndGivesTheDefaults) {
    ::testing::internal::CaptureStdout();
    const Settings s = loadSettings("no/such/settings.ini");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "ERROR: Failed to load 'no/such/settings.ini'. Using default values instead.\n");
    EXPECT_EQ(s.width, Settings{}.width);
}

TEST(LoadSettings, ReadsEveryKeyOfSectionWindowSilently) {
    ::testing::internal::CaptureStdout();
    const Settings s = loadFrom("[window]\nwidth = 1280\nheight = 720\nrefresh_rate = 60\n"
                                "fullscreen = false\nvolume = 0.3\nautomaticCam = no\n"
                                "gamma = 2.2\ngammaEnabled = off\n");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(s.width, 1280);
    EXPECT_EQ(s.height, 720);
    EXPECT_EQ(s.refresh_rate, 60);
    EXPECT_FALSE(s.fullscreen);
    EXPECT_FLOAT_EQ(s.volume, 0.3f);
    EXPECT_FALSE(s.automaticCam);
    EXPECT_FLOAT_EQ(s.gamma, 2.2f);
    EXPECT_FALSE(s.gammaEnabled);
}

// One file per row: integers detect their base and keep a leading number; reals keep a leading
// number; booleans match keywords case-insensitively and call anything else true; other sections
// are ignored, names are case-insensitive and malformed lines are skipped.
TEST(LoadSettings, ValuesFollowInihsRules) {
    const struct {
        const char* text;
        int width;
        bool fullscreen;
        float gamma;
    } rows[] = {
        {"[window]\nwidth = 0x500\n", 1280, true, 2.0f},
        {"[window]\nwidth = 0100\n", 64, true, 2.0f},
        {"[window]\nwidth = abc\n", 1920, true, 2.0f},
        {"[window]\nwidth = 800px\ngamma = 2.5dB\n", 800, true, 2.5f},
        {"[window]\nwidth =\ngamma = bright\n", 1920, true, 2.0f},
        {"[window]\nfullscreen = maybe\n", 1920, true, 2.0f},
        {"[window]\nfullscreen = OFF\n", 1920, false, 2.0f},
        {"[window]\nfullscreen = No\n", 1920, false, 2.0f},
        {"[window]\nfullscreen = 0\n", 1920, false, 2.0f},
        {"[screen]\nwidth = 800\nfullscreen = false\n", 1920, true, 2.0f},
        {"[WINDOW]\nthis line has no equals sign\nWIDTH = 1024\n; a comment\n[broken\nfullscreen = no\n",
         1024, false, 2.0f},
    };
    for (const auto& row : rows) {
        const Settings s = loadFrom(row.text);
        EXPECT_EQ(s.width, row.width) << row.text;
        EXPECT_EQ(s.fullscreen, row.fullscreen) << row.text;
        EXPECT_FLOAT_EQ(s.gamma, row.gamma) << row.text;
    }
}

// --settings FILE is refused before the viewer starts unless the file can be read.
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
