// Finds the assets folder when the command line names none: the current folder, the folder the build
// made beside the executable, then the installed data folder. The choice itself is pure (it asks a
// predicate what exists), so it is tested without touching the disk.
#pragma once

#include <functional>
#include <string>
#include <vector>

// One folder the viewer may run in, with the words that name it in messages.
struct AssetPlace {
    std::string description; // "the current folder", "the installed data folder", ...
    std::string dir;
};

// The outcome of a search: the folder to change into, and the one line to print about it.
struct AssetSearch {
    std::string dir;  // empty when no place holds the assets
    std::string note; // which folder a search settled on, or why none; empty when the first place won
};

// The places in the order they are tried. currentDir is where the viewer was started; executablePath
// is the program's own file (empty when unknown, which leaves out the two places found from it);
// dataFromBin is the installed data folder relative to the installed program's folder.
std::vector<AssetPlace> assetPlaces(const std::string& currentDir, const std::string& executablePath,
                                    const std::string& dataFromBin);

// Picks the first place for which holdsAssets is true. The first place (the current folder) wins
// silently, as a start from inside the assets folder always has; any later one is announced.
AssetSearch searchAssets(const std::vector<AssetPlace>& places,
                         const std::function<bool(const std::string&)>& holdsAssets);

// True when a viewer started in dir finds its shaders: they are read as "../assets/shaders/...", so
// this also asks that the folder be called "assets".
bool folderHoldsAssets(const std::string& dir);

// The running program's own file, from /proc/self/exe; empty when that cannot be read.
std::string executablePath();
