// The audio group of the asset generator: synthesises the music loop and the character sound and
// encodes both to MP3.
#include "audio_pieces.hpp"
#include "generators.hpp"
#include "mp3_writer.hpp"

#include <cstdio>
#include <filesystem>
#include <system_error>

bool generateAudio(const std::string& assetsDir) {
    const std::filesystem::path dir = std::filesystem::path(assetsDir) / "audio";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        std::fprintf(stderr, "assetgen: cannot create %s (%s); no sounds written\n", dir.c_str(),
                     error.message().c_str());
        return false;
    }
    bool ok = true;
    const std::string musicPath = (dir / "backgroundMusic.mp3").string();
    if (!writeMp3(musicPath, synthesizeBackgroundMusic(), 128)) {
        std::fprintf(stderr, "assetgen: could not encode or write %s\n", musicPath.c_str());
        ok = false;
    }
    const std::string creaturePath = (dir / "wendrelSound.mp3").string();
    if (!writeMp3(creaturePath, synthesizeCreatureSound(), 96)) {
        std::fprintf(stderr, "assetgen: could not encode or write %s\n", creaturePath.c_str());
        ok = false;
    }
    return ok;
}
