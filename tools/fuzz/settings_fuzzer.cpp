// libFuzzer harness for the settings reader: each input is written as the settings file, read with
// loadSettings and given the window-size check the viewer applies before it opens the window. Beyond
// the sanitizers, it traps when a size that reaches the window could not be had.
#include "app/settings.hpp"
#include "app/window_size.hpp"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const std::string settingsPath = "/tmp/duskvale_fuzz_settings_" + std::to_string(getpid()) + ".ini";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(settingsPath.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    std::vector<std::string> notes;
    const Settings settings = withUsableWindowSize(loadSettings(settingsPath), notes);
    if (settings.width < 1 || settings.width > maxWindowDimension || settings.height < 1 ||
        settings.height > maxWindowDimension)
        __builtin_trap();
    if (notes.size() > 2)
        __builtin_trap();
    return 0;
}
