// Names and writes the pictures of the screenshot key; the read-back itself is the screenshot module's.
#include "app/screenshot_key.hpp"

#include "app/screenshot.hpp"

#include <filesystem>
#include <iostream>

std::string datedScreenshotName(const std::tm& localTime, int sameSecondIndex) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &localTime);
    std::string name = std::string("duskvale_") + stamp;
    if (sameSecondIndex > 1)
        name += "_" + std::to_string(sameSecondIndex);
    return name + ".png";
}

std::string freeScreenshotPath(const std::string& folder, const std::tm& localTime) {
    for (int index = 1;; ++index) {
        const std::filesystem::path path =
            std::filesystem::path(folder) / datedScreenshotName(localTime, index);
        std::error_code error;
        if (!std::filesystem::exists(path, error))
            return path.string();
    }
}

std::string writeDatedScreenshot(const std::string& folder, int width, int height) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        std::cout << "Could not write a screenshot: the folder " << folder
                  << " does not exist; the run goes on without it." << std::endl;
        return "";
    }
    const std::time_t now = std::time(nullptr);
    std::tm localTime{};
    localtime_r(&now, &localTime);
    const std::string path = freeScreenshotPath(folder, localTime);
    // writeScreenshot prints its own line when the file cannot be written (a read-only folder).
    if (!writeScreenshot(path, width, height))
        return "";
    std::cout << "Screenshot written to " << path << std::endl;
    return path;
}
