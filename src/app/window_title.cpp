// Frame counting for the title bar; the caller hands the text to the window.
#include "app/window_title.hpp"

#include <cstdio>

std::string fpsTitleText(double framesPerSecond) {
    char text[64];
    std::snprintf(text, sizeof text, "Duskvale - %.1f fps", framesPerSecond);
    return text;
}

std::string countFrameForTitle(FpsTitle& title, double now) {
    if (title.intervalStart < 0.0) {
        title.intervalStart = now;
        title.frames = 0;
        return "";
    }
    ++title.frames;
    const double elapsed = now - title.intervalStart;
    if (elapsed < titleUpdateSeconds)
        return "";
    const std::string text = fpsTitleText(title.frames / elapsed);
    title.intervalStart = now;
    title.frames = 0;
    return text;
}
