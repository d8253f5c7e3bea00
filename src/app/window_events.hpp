// What makes the window behave like a desktop program's: it follows resizes, waits while minimised,
// switches between full screen and a window (F11), pauses the scene (Space) and asks for a picture (F12).
#pragma once

#include "app/options.hpp"
#include "app/settings.hpp"
#include "render/render_targets.hpp"

// glad must come before GLFW, which would otherwise pull in the system's GL header.
#include <glad/gl.h>

#include <GLFW/glfw3.h>

// Key presses the frame loop serves at the right moment of a frame; the key callback only notes them.
struct WindowRequests {
    bool screenshot = false;       // F12: write the next finished picture
    bool toggleFullScreen = false; // F11
};

extern WindowRequests windowRequests;

struct DesktopWindow {
    // Where and how large the window is when it is not full screen; F11 brings it back there.
    int windowedX = 64;
    int windowedY = 64;
    int windowedWidth = 0;
    int windowedHeight = 0;
    // --record: the window keeps the recording's size, whatever asks for another.
    bool sizePinned = false;
    int pinnedWidth = 0;
    int pinnedHeight = 0;
    // The first frame after a minimised spell, whose step would span the whole spell.
    bool resuming = false;
};

// Key callback part: a press of Space pauses or resumes the scene's clock (AppState.paused); F11 and
// F12 become requests. Other keys and key repeats are ignored.
void onWindowKey(int key, int action);

// Right after the window opens: --no-vsync, the size pin of a recording, the windowed placement F11
// returns to (the settings' size when the run starts in full screen).
DesktopWindow startDesktopWindow(GLFWwindow* window, const Settings& settings, const Options& options);

// While the window is minimised (iconified, or a framebuffer of 0 x 0) renders nothing and sleeps in
// the event wait instead of spinning; returns whether it waited, after which desktop.resuming is set.
bool waitWhileMinimised(GLFWwindow* window, DesktopWindow& desktop);

// Remakes the screen-sized targets when the framebuffer (not the window: they differ on scaled
// displays) has a new size, at most once per frame however many resizes came in. A pinned window is
// put back to its size instead.
void followFramebufferSize(GLFWwindow* window, const DesktopWindow& desktop, RenderTargets& targets);

// Serves F11 after the frame is shown: into full screen at the monitor's current mode, or back to the
// window's last placement. A pinned window stays as it is.
void serveFullScreenKey(GLFWwindow* window, DesktopWindow& desktop);
