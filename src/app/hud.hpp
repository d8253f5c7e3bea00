// The on-screen panel (Dear ImGui) and the keys that go with it: F1 shows and hides the panel, the
// number keys choose the buffer the window shows. The panel's switches write the same AppState and
// skip flags the keys and options do, so both always agree.
#pragma once

#include "app/hud_stats.hpp"
#include "app/options.hpp"
#include "render/buffer_view_kind.hpp"
#include "render/pass_timer.hpp"

// glad must come before GLFW, which would otherwise pull in the system's GL header.
#include <glad/gl.h>

#include <GLFW/glfw3.h>

#include <chrono>

struct Hud {
    GLFWwindow* window = nullptr;
    bool shown = false;
    bool frameOpen = false; // a panel frame was begun and is not drawn yet
    BufferView view = BufferView::lit;
    // The panel's own timer queries, running only while it is shown and --benchmark is off.
    PassTimer timer;
    bool restartTimer = true;
    FrameHistory history;
    std::chrono::steady_clock::time_point lastFrameStart;
    bool haveLastFrame = false;
    // Where the cursor was at its previous event, for turning the camera while the panel is shown.
    double cursorX = 0.0;
    double cursorY = 0.0;
};

// Sets up Dear ImGui for the window, after the viewer's own callbacks, which it chains: keys and
// mouse buttons reach the viewer as before. `hud` must stay in place until stopHud.
void startHud(Hud& hud, GLFWwindow* window, bool shown, BufferView view);
void stopHud(Hud& hud);

void setHudShown(Hud& hud, bool shown);

// At the top of a frame: the timer whose queries the panel shows when --benchmark has none, or null
// while the panel is hidden, so that a hidden panel costs no queries.
PassTimer* hudTimerForFrame(Hud& hud);

// After polling events: notes the frame time and, while the panel is shown, lays it out from the
// timings in `timing` (may be null) and the current state. Its switches write appState and `skip`.
void beginHudFrame(Hud& hud, const PassTimer* timing, SkippedPasses& skip, int liveParticles);

// Whether the panel takes the keyboard this frame (then the camera and the switch keys get nothing).
bool hudWantsKeyboard(const Hud& hud);

// Draws the panel over the window's framebuffer. Call after any screenshot or recording read-back and
// before the swap, so that no written image ever contains it. Leaves GL state as it found it.
void drawHud(Hud& hud);
