// Reading the settings file: defaults, inih's number and boolean rules, and the one message for a
// missing file.
#include "app/settings.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <string>

namespace {

Settings loadFrom(const std::string& name, const std::string& contents) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << contents;
    return loadSettings(path);
}

void expectDefaults(const Settings& s) {
    EXPECT_EQ(s.width, 1920);
    EXPECT_EQ(s.height, 1080);
    EXPECT_EQ(s.refresh_rate, 120);
    EXPECT_TRUE(s.fullscreen);
    EXPECT_FLOAT_EQ(s.volume, 0.005f);
    EXPECT_TRUE(s.automaticCam);
    EXPECT_FLOAT_EQ(s.gamma, 2.0f);
    EXPECT_TRUE(s.gammaEnabled);
}

} // namespace

TEST(LoadSettings, MissingFilePrintsOneLineAndGivesEveryDefault) {
    ::testing::internal::CaptureStdout();
    const Settings s = loadSettings("no/such/settings.ini");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "ERROR: Failed to load 'no/such/settings.ini'. Using default values instead.\n");
    expectDefaults(s);
}

TEST(LoadSettings, ReadsEveryKeyOfSectionWindow) {
    ::testing::internal::CaptureStdout();
    const Settings s = loadFrom("all.ini", "[window]\nwidth = 1280\nheight = 720\nrefresh_rate = 60\n"
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

// inih's rules, one line of [window] each: integers detect their base, keep a leading number and
// saturate beyond int (2^32 + 160 would wrap to a plausible 160 if narrowed carelessly); reals keep a
// leading number; booleans match keywords case-insensitively and call anything else true.
TEST(LoadSettings, ValuesFollowInihsNumberAndBooleanRules) {
    const struct {
        const char* line;
        int Settings::*integer;
        long long expected;
    } integers[] = {
        {"width = 0x500", &Settings::width, 1280},
        {"width = 0100", &Settings::width, 64},
        {"width = abc", &Settings::width, 1920},
        {"width = 800px", &Settings::width, 800},
        {"width =", &Settings::width, 1920},
        {"width = 4294967456", &Settings::width, INT_MAX},
        {"height = 99999999999999999999", &Settings::height, INT_MAX},
        {"refresh_rate = -4294967456", &Settings::refresh_rate, INT_MIN},
    };
    for (const auto& row : integers)
        EXPECT_EQ(loadFrom("int.ini", std::string("[window]\n") + row.line + "\n").*row.integer, row.expected)
            << row.line;
    const Settings reals = loadFrom("reals.ini", "[window]\nvolume = 0.25dB\ngamma = bright\n");
    EXPECT_FLOAT_EQ(reals.volume, 0.25f);
    EXPECT_FLOAT_EQ(reals.gamma, 2.0f);
    for (const auto& [value, expected] :
         {std::pair{"maybe", true}, {"OFF", false}, {"No", false}, {"0", false}})
        EXPECT_EQ(loadFrom("bool.ini", std::string("[window]\nfullscreen = ") + value + "\n").fullscreen,
                  expected)
            << value;
}

TEST(LoadSettings, OtherSectionsAreIgnoredWithoutAMessage) {
    ::testing::internal::CaptureStdout();
    const Settings s = loadFrom("section.ini", "[screen]\nwidth = 800\nfullscreen = false\n");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    expectDefaults(s);
}

TEST(LoadSettings, NamesAreCaseInsensitiveAndMalformedLinesAreSkipped) {
    const Settings s = loadFrom("messy.ini", "[WINDOW]\nthis line has no equals sign\nWIDTH = 1024\n"
                                             "; a comment\n[broken\nheight = 600\n");
    EXPECT_EQ(s.width, 1024);
    EXPECT_EQ(s.height, 600);
}

TEST(LoadSettings, ARepeatedKeyJoinsItsValuesSoNumbersTakeTheFirstAndBooleansBecomeTrue) {
    const Settings s = loadFrom(
        "repeat.ini", "[window]\nwidth = 800\nwidth = 640\nfullscreen = false\nfullscreen = false\n");
    EXPECT_EQ(s.width, 800);
    EXPECT_TRUE(s.fullscreen);
}
