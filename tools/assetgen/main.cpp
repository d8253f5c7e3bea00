// Entry point of the asset generator: writes every generated file of the scene below the folder named
// on the command line, one group after another, with a progress line per group and the total time.
#include "generators.hpp"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Group {
    const char* name;
    bool (*generate)(const std::string&);
};

const Group groups[] = {
    {"models", generateSceneModels},
    {"character", generateCharacter},
    {"sprites", generateSprites},
    {"audio", generateAudio},
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || std::strcmp(argv[1], "--help") == 0) {
        std::fprintf(stderr, "usage: duskvale_assetgen ASSETS_DIR [GROUP]\n"
                             "groups: models, character, sprites, audio (default: all)\n");
        return 2;
    }
    const std::string outDir = argv[1];
    const char* only = argc == 3 ? argv[2] : nullptr;
    const auto start = std::chrono::steady_clock::now();
    bool ok = true;
    for (const Group& group : groups) {
        if (only && std::strcmp(only, group.name) != 0)
            continue;
        const auto groupStart = std::chrono::steady_clock::now();
        const bool groupOk = group.generate(outDir);
        std::printf("assetgen: %-10s %s in %.2f s\n", group.name, groupOk ? "done" : "FAILED",
                    secondsSince(groupStart));
        std::fflush(stdout);
        ok = ok && groupOk;
    }
    std::printf("assetgen: total %.2f s\n", secondsSince(start));
    return ok ? 0 : 1;
}
