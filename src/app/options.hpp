// Command-line options. The bare command runs the viewer as always; the options only add
// repeatable runs (fixed time step, frame limit), screenshots and a choice of assets folder.
#pragma once

#include "render/buffer_view_kind.hpp"

#include <string>
#include <vector>

struct ScreenshotRequest {
    long long frame = 0; // counted from 1
    std::string path;
};

// Passes a run may leave out, to see what each one adds or costs.
struct SkippedPasses {
    bool shadow = false;
    bool occlusion = false;
    bool character = false;
    bool particles = false;
    // Not a pass: the street lamps' light, kept out all run as in a flicker outage.
    bool lamps = false;
};

struct Options {
    bool showHelp = false;
    bool showVersion = false;
    float fixedStep = 0.0f;  // seconds per frame; 0 follows the wall clock
    long long maxFrames = 0; // 0: no limit
    std::vector<ScreenshotRequest> screenshots;
    std::string assetsDir;    // empty: stay in the current directory
    std::string settingsFile; // empty: the assets' own ../assets/settings.ini
    bool benchmark = false;   // time every pass and print a table at the end
    std::string benchmarkCsv; // one row per frame with each pass's time; implies benchmark
    SkippedPasses skippedPasses;
    std::string recordDir; // --record: render the flight offline into this folder
    int fps = 0;           // frames per second of the recording; 0 until given (30 by default)
    // Window: --size and --fullscreen/--windowed override the settings; 0 and -1 leave them alone.
    int width = 0;
    int height = 0;
    int fullscreen = -1;               // 1 full screen, 0 windowed, -1 as the settings say
    bool noVsync = false;              // swap without waiting for the display
    bool loop = false;                 // start the flight again when it ends instead of quitting
    std::string screenshotDir;         // where F12 writes; empty until anchored to the start folder
    bool hud = false;                  // --hud: the on-screen panel is shown from the first frame
    BufferView view = BufferView::lit; // --view: the buffer the window shows at start
};

struct ParsedOptions {
    Options options;
    std::string error; // one line saying what is wrong; empty when the command line is fine
};

// Parses the arguments after the program name. Accepts "--name value" and "--name=value"; refuses
// unknown options, stray arguments and bad values without touching anything outside.
ParsedOptions parseOptions(const std::vector<std::string>& args);

// The --help text, one line per option.
std::string optionsHelp();

// Paths given relative to where the viewer was started (outputs and the settings file) stay there,
// although the viewer changes into the assets folder before it opens them.
void anchorOutputPaths(Options& options, const std::string& startDir);
