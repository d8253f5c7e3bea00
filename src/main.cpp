// Duskvale: a real-time viewer of one night scene. Start-up runs in a strict order, because every
// later step relies on the earlier ones: options, settings, window and context, scene, clock, frame
// loop, shutdown.
#include "app/app_state.hpp"
#include "app/asset_locator.hpp"
#include "app/frame_clock.hpp"
#include "app/frame_loop.hpp"
#include "app/frame_resources.hpp"
#include "app/options.hpp"
#include "app/scene.hpp"
#include "app/settings.hpp"
#include "app/sound_cues.hpp"
#include "app/sound_engine.hpp"
#include "app/window.hpp"
#include "app/window_size.hpp"

// glad must come before GLFW, which would otherwise pull in the system's GL header.
#include <glad/gl.h>

#include <GLFW/glfw3.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int exitBadCommandLine = 2;
constexpr int exitNoWindow = 1;
constexpr int exitRecordingFailed = 3;

} // namespace

int main(int argc, char** argv) {
    ParsedOptions parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::cerr << "duskvale: " << parsed.error << " (see --help)" << std::endl;
        return exitBadCommandLine;
    }
    Options& options = parsed.options;
    if (options.showHelp) {
        std::cout << optionsHelp();
        return 0;
    }
    if (options.showVersion) {
        std::cout << "duskvale " << DUSKVALE_VERSION << std::endl;
        return 0;
    }
    std::error_code cwdError;
    const std::string startDir = std::filesystem::current_path(cwdError).string();
    anchorOutputPaths(options, startDir);
    if (!options.settingsFile.empty()) {
        const std::string problem = settingsFileProblem(options.settingsFile);
        if (!problem.empty()) {
            std::cerr << "duskvale: " << problem << " (see --help)" << std::endl;
            return exitBadCommandLine;
        }
    }
    const bool assetsNamed = !options.assetsDir.empty();
    if (options.assetsDir.empty()) {
        const AssetSearch search =
            searchAssets(assetPlaces(startDir, executablePath(), DUSKVALE_DATA_FROM_BIN), folderHoldsAssets);
        if (search.dir.empty()) {
            std::cerr << search.note << std::endl;
            return exitNoWindow;
        }
        if (!search.note.empty())
            std::cout << search.note << std::endl;
        options.assetsDir = search.dir;
    }
    if (chdir(options.assetsDir.c_str()) != 0) {
        std::cerr << "duskvale: cannot change into the assets folder '" << options.assetsDir
                  << "': " << std::strerror(errno) << " (see --help)" << std::endl;
        return exitBadCommandLine;
    }
    // The shaders and the settings are read as "../assets/...", which from inside a folder of any
    // other name misses them all: the viewer would run without a picture.
    std::error_code sameError;
    if (assetsNamed && !std::filesystem::equivalent("../assets", ".", sameError)) {
        std::cerr
            << "duskvale: the assets folder '" << options.assetsDir
            << "' must be named 'assets': the shaders and settings are read as ../assets/... from inside it"
            << " (see --help)" << std::endl;
        return exitBadCommandLine;
    }

    // The sound engine comes first of all, before the settings are read. A recording runs faster or
    // slower than real time, so it plays nothing live; its sound is mixed into the video instead.
    const bool recording = !options.recordDir.empty();
    SoundEngine* soundEngine = recording ? nullptr : createSoundEngine();
    std::vector<std::string> settingsNotes;
    const Settings settings = withUsableWindowSize(
        withWindowOptions(loadSettings(options.settingsFile.empty() ? std::string("../assets/settings.ini")
                                                                    : options.settingsFile),
                          options),
        settingsNotes);
    for (const std::string& note : settingsNotes)
        std::cout << note << std::endl;
    // A recording is of the automatic flight, whatever the settings say.
    appState.automaticCam = settings.automaticCam || recording;
    appState.gammaEnabled = settings.gammaEnabled;

    GLFWwindow* window = openWindow(settings);
    if (!window)
        return exitNoWindow;

    Scene scene = buildScene();
    FrameClock clock = startFrameClock(options.fixedStep, glfwGetTime());
    FrameResources resources = createFrameResources(scene, settings);

    // Start-up stays silent until everything is loaded.
    startBackgroundMusic(soundEngine, settings.volume);
    const bool complete = runFrameLoop(window, scene, resources, settings, options, clock, soundEngine);

    glfwDestroyWindow(window);
    glfwTerminate();
    return complete ? 0 : exitRecordingFailed;
}
