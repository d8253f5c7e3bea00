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

TEST(LoadSettings, IntegersDetectTheirBaseAndKeepALeadingNumber) {
    EXPECT_EQ(loadFrom("hex.ini", "[window]\nwidth = 0x500\n").width, 1280);
    EXPECT_EQ(loadFrom("octal.ini", "[window]\nwidth = 0100\n").width, 64);
    EXPECT_EQ(loadFrom("word.ini", "[window]\nwidth = abc\n").width, 1920);
    EXPECT_EQ(loadFrom("suffix.ini", "[window]\nwidth = 800px\n").width, 800);
    EXPECT_EQ(loadFrom("empty.ini", "[window]\nwidth =\n").width, 1920);
}

TEST(LoadSettings, IntegersBeyondIntSaturateInsteadOfWrapping) {
    // 2^32 + 160 would wrap to a plausible 160 and 2^64 - 1 to -1 if narrowed carelessly.
    EXPECT_EQ(loadFrom("wrap.ini", "[window]\nwidth = 4294967456\n").width, INT_MAX);
    EXPECT_EQ(loadFrom("huge.ini", "[window]\nheight = 99999999999999999999\n").height, INT_MAX);
    EXPECT_EQ(loadFrom("low.ini", "[window]\nrefresh_rate = -4294967456\n").refresh_rate, INT_MIN);
}

TEST(LoadSettings, RealsKeepALeadingNumberAndOtherwiseTheirDefault) {
    const Settings s = loadFrom("reals.ini", "[window]\nvolume = 0.25dB\ngamma = bright\n");
    EXPECT_FLOAT_EQ(s.volume, 0.25f);
    EXPECT_FLOAT_EQ(s.gamma, 2.0f);
}

TEST(LoadSettings, BooleansMatchKeywordsCaseInsensitivelyAndAnythingElseIsTrue) {
    EXPECT_TRUE(loadFrom("maybe.ini", "[window]\nfullscreen = maybe\n").fullscreen);
    EXPECT_FALSE(loadFrom("off.ini", "[window]\nfullscreen = OFF\n").fullscreen);
    EXPECT_FALSE(loadFrom("no.ini", "[window]\nfullscreen = No\n").fullscreen);
    EXPECT_FALSE(loadFrom("zero.ini", "[window]\nfullscreen = 0\n").fullscreen);
    EXPECT_FALSE(loadFrom("upper.ini", "[window]\ngammaEnabled = FALSE\n").gammaEnabled);
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
