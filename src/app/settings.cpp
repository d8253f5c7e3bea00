// Reads section "window" of the settings file through inih's INIReader. inih's own parsing rules
// (base detection, leading-number prefixes, joined duplicate keys) decide every edge case.
#include "app/settings.hpp"

#include <INIReader.h>

#include <iostream>

Settings loadSettings(const std::string& path) {
    const INIReader reader(path);
    const Settings defaults;
    if (reader.ParseError() == -1) {
        std::cout << "ERROR: Failed to load '" << path << "'. Using default values instead." << std::endl;
        return defaults;
    }
    // Malformed lines only make ParseError() positive; the well-formed lines around them still count,
    // so a partly broken file is read rather than discarded.
    const std::string section = "window";
    Settings settings;
    settings.width = static_cast<int>(reader.GetInteger(section, "width", defaults.width));
    settings.height = static_cast<int>(reader.GetInteger(section, "height", defaults.height));
    settings.refresh_rate =
        static_cast<int>(reader.GetInteger(section, "refresh_rate", defaults.refresh_rate));
    settings.fullscreen = reader.GetBoolean(section, "fullscreen", defaults.fullscreen);
    settings.volume = static_cast<float>(reader.GetReal(section, "volume", defaults.volume));
    settings.automaticCam = reader.GetBoolean(section, "automaticCam", defaults.automaticCam);
    settings.gamma = static_cast<float>(reader.GetReal(section, "gamma", defaults.gamma));
    settings.gammaEnabled = reader.GetBoolean(section, "gammaEnabled", defaults.gammaEnabled);
    return settings;
}
