// Where the viewer looks for its assets folder, and the lines it prints about the search.
#include "app/asset_locator.hpp"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::vector<AssetPlace> assetPlaces(const std::string& currentDir, const std::string& executablePath,
                                    const std::string& dataFromBin) {
    std::vector<AssetPlace> places = {{"the current folder", currentDir}};
    if (executablePath.empty())
        return places;
    const fs::path programDir = fs::path(executablePath).parent_path();
    // A build keeps its generated assets folder next to the program it built.
    places.push_back({"the folder beside the program", (programDir / "assets").lexically_normal().string()});
    // An install puts the program and its data in sibling folders of one prefix, whichever prefix.
    places.push_back({"the installed data folder", (programDir / dataFromBin).lexically_normal().string()});
    return places;
}

AssetSearch searchAssets(const std::vector<AssetPlace>& places,
                         const std::function<bool(const std::string&)>& holdsAssets) {
    AssetSearch search;
    for (size_t i = 0; i < places.size(); ++i) {
        if (!holdsAssets(places[i].dir))
            continue;
        search.dir = places[i].dir;
        if (i > 0)
            search.note = "duskvale: no assets in the current folder; using " + places[i].dir;
        return search;
    }
    std::string tried;
    for (size_t i = 0; i < places.size(); ++i) {
        if (i > 0)
            tried += i + 1 == places.size() ? " or " : ", ";
        tried += places[i].description + " (" + places[i].dir + ")";
    }
    search.note = "duskvale: found no assets (shaders/, models/, ...) in " + tried +
                  "; start the viewer inside its assets folder or give --assets DIR";
    return search;
}

bool folderHoldsAssets(const std::string& dir) {
    std::error_code error;
    return fs::is_directory(fs::path(dir) / ".." / "assets" / "shaders", error);
}

std::string executablePath() {
    std::error_code error;
    const fs::path path = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}
