// Option table and parsing. Each option is one row: its name, the value it takes, its help line and
// the function that checks and stores the value, so adding an option is adding a row.
#include "app/options.hpp"

#include "app/window_size.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>

namespace {

// Each returns what is wrong with the value, or an empty string once it is stored.
using ApplyOption = std::string (*)(Options&, const std::string& value);

struct OptionRule {
    const char* name;
    const char* valueName; // nullptr for a flag
    const char* help;
    ApplyOption apply;
};

bool parsePositiveCount(const std::string& text, long long& count) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, count);
    return result.ec == std::errc() && result.ptr == end && count > 0;
}

std::string applyHelp(Options& options, const std::string&) {
    options.showHelp = true;
    return "";
}

std::string applyVersion(Options& options, const std::string&) {
    options.showVersion = true;
    return "";
}

std::string applyFixedStep(Options& options, const std::string& value) {
    double seconds = 0.0;
    const char* end = value.data() + value.size();
    const auto result = std::from_chars(value.data(), end, seconds);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(seconds) || seconds <= 0.0)
        return "--fixed-step needs a positive number of seconds, got '" + value + "'";
    options.fixedStep = static_cast<float>(seconds);
    if (options.fixedStep <= 0.0f)
        return "--fixed-step " + value + " is too small to advance the clock";
    return "";
}

std::string applyMaxFrames(Options& options, const std::string& value) {
    if (!parsePositiveCount(value, options.maxFrames))
        return "--max-frames needs a positive whole number of frames, got '" + value + "'";
    return "";
}

std::string applyScreenshot(Options& options, const std::string& value) {
    const size_t colon = value.find(':');
    ScreenshotRequest request;
    if (colon == std::string::npos || !parsePositiveCount(value.substr(0, colon), request.frame) ||
        colon + 1 == value.size())
        return "--screenshot needs N:PATH with a frame number N from 1, got '" + value + "'";
    request.path = value.substr(colon + 1);
    options.screenshots.push_back(request);
    return "";
}

std::string applyAssets(Options& options, const std::string& value) {
    if (value.empty())
        return "--assets needs a folder";
    options.assetsDir = value;
    return "";
}

std::string applySettings(Options& options, const std::string& value) {
    if (value.empty())
        return "--settings needs a file";
    options.settingsFile = value;
    return "";
}

std::string applyBenchmark(Options& options, const std::string&) {
    options.benchmark = true;
    return "";
}

std::string applyBenchmarkCsv(Options& options, const std::string& value) {
    if (value.empty())
        return "--benchmark-csv needs a file path";
    options.benchmark = true;
    options.benchmarkCsv = value;
    return "";
}

std::string applySkipPass(Options& options, const std::string& value) {
    SkippedPasses& skip = options.skippedPasses;
    if (value == "shadow")
        skip.shadow = true;
    else if (value == "occlusion")
        skip.occlusion = true;
    else if (value == "character")
        skip.character = true;
    else if (value == "particles")
        skip.particles = true;
    else if (value == "lamps")
        skip.lamps = true;
    else
        return "--skip-pass takes shadow, occlusion, character, particles or lamps, got '" + value + "'";
    return "";
}

std::string applyRecord(Options& options, const std::string& value) {
    if (value.empty())
        return "--record needs a folder";
    options.recordDir = value;
    return "";
}

std::string applyFps(Options& options, const std::string& value) {
    long long fps = 0;
    if (!parsePositiveCount(value, fps) || fps > 240)
        return "--fps needs a whole number of frames per second from 1 to 240, got '" + value + "'";
    options.fps = static_cast<int>(fps);
    return "";
}

// "WxH" with each side from 1 to the largest screen-sized image OpenGL 4.3 guarantees, the same
// limits the settings' width and height keep.
std::string applySize(Options& options, const std::string& value) {
    const size_t x = value.find('x');
    long long width = 0;
    long long height = 0;
    if (x == std::string::npos || !parsePositiveCount(value.substr(0, x), width) ||
        !parsePositiveCount(value.substr(x + 1), height) || width > maxWindowDimension ||
        height > maxWindowDimension)
        return "--size needs WIDTHxHEIGHT with each from 1 to " + std::to_string(maxWindowDimension) +
               ", got '" + value + "'";
    options.width = static_cast<int>(width);
    options.height = static_cast<int>(height);
    return "";
}

std::string applyFullscreen(Options& options, const std::string&) {
    options.fullscreen = 1;
    return "";
}

std::string applyWindowed(Options& options, const std::string&) {
    options.fullscreen = 0;
    return "";
}

std::string applyNoVsync(Options& options, const std::string&) {
    options.noVsync = true;
    return "";
}

std::string applyLoop(Options& options, const std::string&) {
    options.loop = true;
    return "";
}

std::string applyScreenshotDir(Options& options, const std::string& value) {
    if (value.empty())
        return "--screenshot-dir needs a folder";
    options.screenshotDir = value;
    return "";
}

std::string applyHud(Options& options, const std::string&) {
    options.hud = true;
    return "";
}

std::string applyView(Options& options, const std::string& value) {
    if (!parseBufferView(value, options.view))
        return "--view takes " + bufferViewNameList() + ", got '" + value + "'";
    return "";
}

// Options that only make sense together, checked once every option is read.
std::string checkCombinations(Options& options) {
    if (options.recordDir.empty()) {
        if (options.fps != 0)
            return "--fps sets the frame rate of --record; give --record DIR too";
        return "";
    }
    if (options.loop)
        return "--record renders one flight; leave out --loop";
    if (options.fixedStep > 0.0f)
        return "--record steps the clock by 1/fps itself; leave out --fixed-step";
    if (options.fps == 0)
        options.fps = 30;
    options.fixedStep = 1.0f / static_cast<float>(options.fps);
    return "";
}

const OptionRule optionRules[] = {
    {"--help", nullptr, "print this help and exit", applyHelp},
    {"--version", nullptr, "print the version and exit", applyVersion},
    {"--fixed-step", "SECONDS",
     "advance the clock by exactly SECONDS every frame (flight, animation, particles), whatever the wall "
     "clock does; makes runs repeatable",
     applyFixedStep},
    {"--max-frames", "N", "end the run after N frames (exit code 0)", applyMaxFrames},
    {"--screenshot", "N:PATH",
     "after frame N (from 1) is rendered, write the window's image to the PNG file PATH; repeatable",
     applyScreenshot},
    {"--assets", "DIR",
     "change into the assets folder DIR (a folder named 'assets') before anything else; without it the "
     "viewer uses the current folder, else the assets folder beside the program, else the installed one",
     applyAssets},
    {"--settings", "FILE", "read the settings from FILE instead of ../assets/settings.ini", applySettings},
    {"--benchmark", nullptr,
     "time every pass on the GPU and the frame on the CPU; print median and 95th percentile per pass and "
     "the frames per second at the end",
     applyBenchmark},
    {"--benchmark-csv", "PATH", "like --benchmark, and write one row per frame with each pass's time to PATH",
     applyBenchmarkCsv},
    {"--skip-pass", "NAME",
     "leave out one pass (shadow, occlusion, character or particles) to see what it adds or costs, or "
     "the street lamps' light (lamps: kept out all run, as in a flicker outage); repeatable",
     applySkipPass},
    {"--record", "DIR",
     "render the whole automatic flight offline at a fixed step of 1/fps s into DIR/frame_00001.png ...; "
     "with ffmpeg on PATH also DIR/flight.mp4 (H.264) with the music mixed in",
     applyRecord},
    {"--fps", "N", "frames per second of --record (default 30)", applyFps},
    {"--size", "WxH", "window size WIDTHxHEIGHT (each 1 to 16384), instead of the settings' width and height",
     applySize},
    {"--fullscreen", nullptr, "full screen on the primary monitor, whatever the settings say",
     applyFullscreen},
    {"--windowed", nullptr, "an ordinary window, whatever the settings say (the last of the two wins)",
     applyWindowed},
    {"--no-vsync", nullptr, "swap without waiting for the display, to measure how fast frames can come",
     applyNoVsync},
    {"--loop", nullptr, "start the flight again when it ends instead of quitting", applyLoop},
    {"--screenshot-dir", "DIR",
     "folder of the pictures F12 writes (default: the folder the viewer was started from)",
     applyScreenshotDir},
    {"--hud", nullptr, "show the on-screen panel from the start (F1 shows and hides it)", applyHud},
    {"--view", "NAME",
     "show one buffer instead of the lit picture from the start: lit, albedo, normals, positions, "
     "baked-light, shadow, occlusion, blurred-occlusion, depth or shadow-map (keys 1 ... 9, 0)",
     applyView},
};

const OptionRule* findOption(const std::string& name) {
    for (const OptionRule& rule : optionRules)
        if (name == rule.name)
            return &rule;
    return nullptr;
}

} // namespace

ParsedOptions parseOptions(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const size_t equals = arg.find('=');
        const bool hasInlineValue = arg.rfind("--", 0) == 0 && equals != std::string::npos;
        const std::string name = hasInlineValue ? arg.substr(0, equals) : arg;
        const OptionRule* rule = findOption(name);
        if (!rule) {
            parsed.error = arg.rfind("-", 0) == 0
                               ? "unknown option '" + name + "'"
                               : "unexpected argument '" + arg + "'; the viewer takes only options";
            return parsed;
        }
        std::string value;
        if (rule->valueName) {
            if (hasInlineValue) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                parsed.error = name + " needs a value (" + rule->valueName + ")";
                return parsed;
            }
        } else if (hasInlineValue) {
            parsed.error = name + " takes no value";
            return parsed;
        }
        parsed.error = rule->apply(parsed.options, value);
        if (!parsed.error.empty())
            return parsed;
    }
    parsed.error = checkCombinations(parsed.options);
    return parsed;
}

std::string optionsHelp() {
    std::string text =
        "Usage: duskvale [OPTION]...\n"
        "Real-time viewer of one night scene. Without options it reads ../assets/settings.ini\n"
        "and flies the built-in route; Escape ends the run.\n\nOptions:\n";
    for (const OptionRule& rule : optionRules) {
        std::string left = std::string("  ") + rule.name;
        if (rule.valueName)
            left += std::string(" ") + rule.valueName;
        left.resize(std::max<size_t>(left.size() + 2, 26), ' ');
        text += left + rule.help + "\n";
    }
    text += "\nExit codes: 0 normal end, 1 no window or OpenGL 4.3 context, 2 bad command line,\n"
            "3 a recording that could not be written completely.\n";
    return text;
}

void anchorOutputPaths(Options& options, const std::string& startDir) {
    const auto anchor = [&startDir](std::string& text) {
        const std::filesystem::path path(text);
        if (!text.empty() && path.is_relative())
            text = (std::filesystem::path(startDir) / path).string();
    };
    for (ScreenshotRequest& request : options.screenshots)
        anchor(request.path);
    anchor(options.benchmarkCsv);
    anchor(options.recordDir);
    // F12's pictures land where the viewer was started unless told otherwise.
    if (options.screenshotDir.empty())
        options.screenshotDir = startDir;
    anchor(options.screenshotDir);
    anchor(options.settingsFile);
}
