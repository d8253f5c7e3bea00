// The values of section "window" of the settings file, read once at start-up.
#pragma once

#include <string>

struct Settings {
    int width = 1920;
    int height = 1080;
    int refresh_rate = 120;
    bool fullscreen = true;
    float volume = 0.005f;
    bool automaticCam = true;
    float gamma = 2.0f;
    bool gammaEnabled = true;
};

// Reads the file with inih; a missing file prints one line and gives the defaults, malformed or
// unknown values fall back to their defaults silently. Never fails outward.
Settings loadSettings(const std::string& path);

// Why a settings file named on the command line cannot be read ("cannot read 'x': No such file or
// directory"), or an empty string when it can. Unlike the default file, such a file must exist.
std::string settingsFileProblem(const std::string& path);
