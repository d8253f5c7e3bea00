// Command-line parsing: every option, both spellings, and a clear refusal for every bad value.
#include "app/options.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

ParsedOptions parse(std::vector<std::string> args) {
    return parseOptions(args);
}

} // namespace

TEST(ParseOptions, ReadsEveryOptionInBothSpellings) {
    const ParsedOptions parsed = parse({"--fixed-step", "0.5", "--max-frames=300", "--screenshot", "1:a.png",
                                        "--screenshot=183:/tmp/b:c.png", "--assets", "build/assets", "--help",
                                        "--version", "--settings=../conf/dv.ini"});
    ASSERT_EQ(parsed.error, "");
    const Options& o = parsed.options;
    EXPECT_EQ(o.fixedStep, 0.5f);
    EXPECT_EQ(o.maxFrames, 300);
    ASSERT_EQ(o.screenshots.size(), 2u);
    EXPECT_EQ(o.screenshots[0].frame, 1);
    EXPECT_EQ(o.screenshots[0].path, "a.png");
    EXPECT_EQ(o.screenshots[1].frame, 183);
    EXPECT_EQ(o.screenshots[1].path, "/tmp/b:c.png");
    EXPECT_EQ(o.assetsDir, "build/assets");
    EXPECT_TRUE(o.showHelp);
    EXPECT_TRUE(o.showVersion);
    // Relative screenshot paths stay where the viewer was started.
    Options anchored = o;
    anchorOutputPaths(anchored, "/home/me");
    EXPECT_EQ(anchored.screenshots[0].path, "/home/me/a.png");
    EXPECT_EQ(anchored.screenshots[1].path, "/tmp/b:c.png");
    EXPECT_EQ(anchored.settingsFile, "/home/me/../conf/dv.ini");
    EXPECT_EQ(parse({}).options.settingsFile, "") << "no option: the assets' own file";
    // --help lists every buffer view's name, so nobody has to guess them.
    for (const char* view :
         {"albedo", "normals", "positions", "baked-light", "blurred-occlusion", "depth", "shadow-map"})
        EXPECT_NE(optionsHelp().find(view), std::string::npos) << view;
}

TEST(ParseOptions, RefusesBadValuesWithALineNamingTheOptionAndTheValue) {
    const std::vector<std::vector<std::string>> bad = {
        {"--fixed-step", "0"},       {"--fixed-step", "-0.5"},    {"--fixed-step", "abc"},
        {"--fixed-step", "0.5s"},    {"--fixed-step", "nan"},     {"--fixed-step", "inf"},
        {"--fixed-step", "1e-50"},   {"--max-frames", "0"},       {"--max-frames", "-3"},
        {"--max-frames", "2.5"},     {"--max-frames", "ten"},     {"--max-frames", "99999999999999999999"},
        {"--screenshot", "5"},       {"--screenshot", "5:"},      {"--screenshot", ":a.png"},
        {"--screenshot", "0:a.png"}, {"--screenshot", "x:a.png"}, {"--assets="},
    };
    for (const auto& args : bad) {
        const ParsedOptions parsed = parse(args);
        EXPECT_NE(parsed.error, "") << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_NE(parsed.error.find(args[0].substr(0, args[0].find('='))), std::string::npos) << parsed.error;
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << parsed.error;
    }
}

TEST(ParseOptions, BenchmarkCsvImpliesTheBenchmarkAndPassesAreSkippedByName) {
    const Options o =
        parse({"--benchmark-csv", "frames.csv", "--skip-pass", "particles", "--skip-pass=occlusion"}).options;
    EXPECT_TRUE(o.benchmark);
    EXPECT_EQ(o.benchmarkCsv, "frames.csv");
    EXPECT_TRUE(o.skippedPasses.particles);
    EXPECT_TRUE(o.skippedPasses.occlusion);
    EXPECT_FALSE(o.skippedPasses.shadow);
    EXPECT_FALSE(o.skippedPasses.character);
    EXPECT_FALSE(o.skippedPasses.lamps);
    EXPECT_TRUE(parse({"--skip-pass", "lamps"}).options.skippedPasses.lamps);
    EXPECT_NE(parse({"--skip-pass", "lit"}).error.find("--skip-pass"), std::string::npos);
    EXPECT_NE(parse({"--benchmark-csv="}).error, "");

    Options anchored = o;
    anchorOutputPaths(anchored, "/home/me");
    EXPECT_EQ(anchored.benchmarkCsv, "/home/me/frames.csv");
}

TEST(ParseOptions, WindowOptionsInBothSpellings) {
    struct Case {
        std::vector<std::string> args;
        int width, height, fullscreen;
        bool noVsync, loop;
        std::string screenshotDir;
    };
    const Case cases[] = {
        {{}, 0, 0, -1, false, false, ""},
        {{"--size", "1280x720", "--no-vsync"}, 1280, 720, -1, true, false, ""},
        {{"--size=1x16384", "--loop"}, 1, 16384, -1, false, true, ""},
        {{"--windowed", "--fullscreen", "--screenshot-dir", "a b"}, 0, 0, 1, false, false, "a b"},
        {{"--fullscreen", "--windowed", "--screenshot-dir=/tmp"}, 0, 0, 0, false, false, "/tmp"},
    };
    for (const Case& c : cases) {
        const ParsedOptions parsed = parse(c.args);
        ASSERT_EQ(parsed.error, "") << ::testing::PrintToString(c.args);
        const Options& o = parsed.options;
        EXPECT_EQ(std::make_tuple(o.width, o.height, o.fullscreen, o.noVsync, o.loop, o.screenshotDir),
                  std::make_tuple(c.width, c.height, c.fullscreen, c.noVsync, c.loop, c.screenshotDir))
            << ::testing::PrintToString(c.args);
    }
    Options anchored = parse({}).options;
    anchorOutputPaths(anchored, "/home/me");
    EXPECT_EQ(anchored.screenshotDir, "/home/me") << "F12 writes into the start folder by default";
}

TEST(ParseOptions, RefusesUnknownOptionsStrayArgumentsMissingValuesAndBadWindowValues) {
    const std::string size = "--size needs WIDTHxHEIGHT with each from 1 to 16384, got '";
    const std::string views = "--view takes lit, albedo, normals, positions, baked-light, shadow, occlusion, "
                              "blurred-occlusion, depth or shadow-map, got '";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--wireframe"}, "unknown option '--wireframe'"},
        {{"--max-frames=3", "-x"}, "unknown option '-x'"},
        {{"scene.obj"}, "unexpected argument 'scene.obj'; the viewer takes only options"},
        {{"--max-frames"}, "--max-frames needs a value (N)"},
        {{"--help=yes"}, "--help takes no value"},
        {{"--size", "0x0"}, size + "0x0'"},
        {{"--size", "abc"}, size + "abc'"},
        {{"--size", "1280"}, size + "1280'"},
        {{"--size", "99999x1"}, size + "99999x1'"},
        {{"--size", "-5x10"}, size + "-5x10'"},
        {{"--size", "1280x720x3"}, size + "1280x720x3'"},
        {{"--size", "12.5x7"}, size + "12.5x7'"},
        {{"--screenshot-dir="}, "--screenshot-dir needs a folder"},
        {{"--settings="}, "--settings needs a file"},
        {{"--settings"}, "--settings needs a value (FILE)"},
        {{"--view", "Normals"}, views + "Normals'"},
        {{"--view", "lit "}, views + "lit '"},
        {{"--view="}, views + "'"},
        {{"--record", "out", "--loop"}, "--record renders one flight; leave out --loop"},
    };
    for (const auto& [args, message] : cases)
        EXPECT_EQ(parse(args).error, message) << ::testing::PrintToString(args);
}
