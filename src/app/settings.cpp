// Reads section "window" of the settings file through inih's INIReader. inih's own parsing rules
// (base detection, leading-number prefixes, joined duplicate keys) decide every edge case.
#include "app/settings.hpp"

#include <INIReader.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace {

// inih reads integers as long; a value beyond int's range keeps its sign and saturates rather than
// wrapping to an unrelated number (4294967456 would otherwise become a width of 160).
int saturatedInt(long value) {
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

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
    settings.width = saturatedInt(reader.GetInteger(section, "width", defaults.width));
    settings.height = saturatedInt(reader.GetInteger(section, "height", defaults.height));
    settings.refresh_rate = saturatedInt(reader.GetInteger(section, "refresh_rate", defaults.refresh_rate));
    settings.fullscreen = reader.GetBoolean(section, "fullscreen", defaults.fullscreen);
    settings.volume = static_cast<float>(reader.GetReal(section, "volume", defaults.volume));
    settings.automaticCam = reader.GetBoolean(section, "automaticCam", defaults.automaticCam);
    settings.gamma = static_cast<float>(reader.GetReal(section, "gamma", defaults.gamma));
    settings.gammaEnabled = reader.GetBoolean(section, "gammaEnabled", defaults.gammaEnabled);
    return settings;
}

std::string settingsFileProblem(const std::string& path) {
    std::error_code error;
    // A folder opens for reading on Linux and reads as an empty file, which inih would take for one.
    if (std::filesystem::is_directory(path, error))
        return "--settings: '" + path + "' is a folder, not a settings file";
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file)
        return "--settings: cannot read '" + path + "': " + std::strerror(errno);
    std::fclose(file);
    return "";
}
