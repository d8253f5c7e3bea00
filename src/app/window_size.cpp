// The window-size check on the settings: one pure rule per dimension, and a note saying what changed.
#include "app/window_size.hpp"

namespace {

int usableDimension(const char* key, int value, int fallback, std::vector<std::string>& notes) {
    if (value < 1) {
        notes.push_back(std::string("Settings: ") + key + " " + std::to_string(value) +
                        " is not a usable window size; using " + std::to_string(fallback) + " instead.");
        return fallback;
    }
    if (value > maxWindowDimension) {
        notes.push_back(std::string("Settings: ") + key + " " + std::to_string(value) +
                        " is more than OpenGL 4.3 guarantees for the screen-sized images; using " +
                        std::to_string(maxWindowDimension) + " instead.");
        return maxWindowDimension;
    }
    return value;
}

} // namespace

Settings withUsableWindowSize(Settings settings, std::vector<std::string>& notes) {
    const Settings defaults;
    settings.width = usableDimension("width", settings.width, defaults.width, notes);
    settings.height = usableDimension("height", settings.height, defaults.height, notes);
    return settings;
}

Settings withWindowOptions(Settings settings, const Options& options) {
    if (options.width > 0 && options.height > 0) {
        settings.width = options.width;
        settings.height = options.height;
    }
    if (options.fullscreen >= 0)
        settings.fullscreen = options.fullscreen == 1;
    return settings;
}
