// The panel: frame rate and frame-time graph, GPU time per pass, particles, flight and camera, the
// switches and the buffer view; and the F1 and number-key handling chained before ImGui's callbacks.
#include "app/hud.hpp"

#include "app/app_state.hpp"
#include "app/frame_loop.hpp"
#include "app/input.hpp"

#include <backends/imgui_impl_glfw.h>
#include <backends/imgui_impl_opengl3.h>
#include <imgui.h>

#include <algorithm>
#include <cfloat>
#include <cstdio>

namespace {

// The panel sits at a fixed place, so what it covers is known: PANEL_MARGIN from the top left,
// PANEL_WIDTH wide (less in a window too narrow for it).
constexpr float panelMargin = 8.0f;
constexpr float panelWidth = 340.0f;
// The GPU table averages this many frames, so its figures stay readable while they change.
constexpr int passAverageFrames = 30;
// The timer record grows by one entry per frame; it starts over after this many.
constexpr long timerRestartFrames = 3000;

Hud* activeHud = nullptr;
GLFWkeyfun viewerKeyCallback = nullptr;
GLFWcursorposfun viewerCursorCallback = nullptr;

void restartPassTimer(PassTimer& timer) {
    finishTiming(timer);
    timer.record.frames.clear();
    timer.frame = -1;
}

void onHudKey(GLFWwindow* window, int key, int scancode, int action, int mods) {
    if (viewerKeyCallback)
        viewerKeyCallback(window, key, scancode, action, mods);
    if (!activeHud || action != GLFW_PRESS)
        return;
    if (key == GLFW_KEY_F1) {
        setHudShown(*activeHud, !activeHud->shown);
        return;
    }
    if (hudWantsKeyboard(*activeHud))
        return;
    int digit = -1;
    if (key >= GLFW_KEY_0 && key <= GLFW_KEY_9)
        digit = key - GLFW_KEY_0;
    else if (key >= GLFW_KEY_KP_0 && key <= GLFW_KEY_KP_9)
        digit = key - GLFW_KEY_KP_0;
    bufferViewForDigit(digit, activeHud->view);
}

// With the panel hidden the viewer's mouse look runs as always (it puts the cursor back at its rest
// point after each move). With the panel shown the cursor must move freely to reach the panel, so
// the camera turns only while the right button is held over the scene.
void onHudCursorPos(GLFWwindow* window, double x, double y) {
    if (!activeHud || !activeHud->shown) {
        if (viewerCursorCallback)
            viewerCursorCallback(window, x, y);
        return;
    }
    const double dx = x - activeHud->cursorX;
    const double dy = y - activeHud->cursorY;
    activeHud->cursorX = x;
    activeHud->cursorY = y;
    if (glfwGetMouseButton(window, GLFW_MOUSE_BUTTON_RIGHT) == GLFW_PRESS && !ImGui::GetIO().WantCaptureMouse)
        camera.look(cursorRestX + static_cast<float>(dx), cursorRestY + static_cast<float>(dy));
}

bool passSwitch(const char* label, bool& skipped) {
    bool runs = !skipped;
    const bool changed = ImGui::Checkbox(label, &runs);
    skipped = !runs;
    return changed;
}

bool viewLabel(void*, int index, const char** text) {
    static char labels[bufferViewCount][48];
    std::snprintf(labels[index], sizeof(labels[index]), "%d  %s", (index + 1) % 10, bufferViews[index].label);
    *text = labels[index];
    return true;
}

void layOutSwitches(Hud& hud, SkippedPasses& skip) {
    // The occlusion switch comes first: it is the one most often flipped while watching.
    ImGui::Checkbox("ambient occlusion (H)", &appState.ambientOcclusionEnabled);
    ImGui::Checkbox("gamma correction (G)", &appState.gammaEnabled);
    ImGui::Checkbox("automatic flight (F)", &appState.automaticCam);
    ImGui::Checkbox("pause (Space)", &appState.paused);
    ImGui::TextUnformatted("Passes");
    passSwitch("shadow", skip.shadow);
    ImGui::SameLine();
    passSwitch("occlusion", skip.occlusion);
    ImGui::SameLine();
    passSwitch("character", skip.character);
    passSwitch("particles", skip.particles);
    ImGui::SameLine();
    passSwitch("street lamps", skip.lamps);
    int view = static_cast<int>(hud.view);
    if (ImGui::Combo("view", &view, viewLabel, nullptr, bufferViewCount))
        hud.view = static_cast<BufferView>(view);
}

void layOutTimings(const Hud& hud, const PassTimer* timing) {
    const float fps = recentFramesPerSecond(hud.history, 60);
    ImGui::Text("%.1f frames/s  (%.2f ms)", fps, fps > 0.0f ? 1000.0f / fps : 0.0f);
    const int count = hud.history.count;
    const int offset = count < frameHistoryLength ? 0 : hud.history.next;
    ImGui::SetNextItemWidth(-FLT_MIN);
    ImGui::PlotLines("##frame times", hud.history.ms.data(), count, offset, "frame time (ms)", 0.0f,
                     std::max(slowestFrameTime(hud.history), 1.0f), ImVec2(0.0f, 48.0f));
    if (!timing)
        return;
    const std::vector<PassTime> passes = recentPassTimes(timing->record, timing->frame, passAverageFrames);
    double slowest = 0.0;
    for (const PassTime& pass : passes)
        slowest = std::max(slowest, pass.ms);
    if (passes.empty() || !ImGui::BeginTable("gpu passes", 3))
        return;
    ImGui::TableSetupColumn("pass", ImGuiTableColumnFlags_WidthFixed, 120.0f);
    ImGui::TableSetupColumn("GPU ms", ImGuiTableColumnFlags_WidthFixed, 60.0f);
    ImGui::TableSetupColumn("share", ImGuiTableColumnFlags_WidthStretch);
    ImGui::TableHeadersRow();
    for (const PassTime& pass : passes) {
        ImGui::TableNextRow();
        ImGui::TableNextColumn();
        ImGui::TextUnformatted(pass.name.c_str());
        ImGui::TableNextColumn();
        ImGui::Text("%.2f", pass.ms);
        ImGui::TableNextColumn();
        ImGui::ProgressBar(slowest > 0.0 ? static_cast<float>(pass.ms / slowest) : 0.0f, ImVec2(-1.0f, 0.0f),
                           "");
    }
    ImGui::EndTable();
}

void layOutScene(int liveParticles) {
    ImGui::Text("smoke particles: %d", liveParticles);
    char flight[48];
    std::snprintf(flight, sizeof(flight), "flight %.1f / %.1f s", appState.flightTime, flightEndSeconds);
    ImGui::ProgressBar(std::clamp(appState.flightTime / flightEndSeconds, 0.0f, 1.0f), ImVec2(-1.0f, 0.0f),
                       flight);
    ImGui::Text("camera %.2f  %.2f  %.2f", camera.position.x, camera.position.y, camera.position.z);
}

} // namespace

void startHud(Hud& hud, GLFWwindow* window, bool shown, BufferView view) {
    hud.window = window;
    hud.view = view;
    activeHud = &hud;
    viewerKeyCallback = glfwSetKeyCallback(window, onHudKey);
    viewerCursorCallback = glfwSetCursorPosCallback(window, onHudCursorPos);
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    // The panel's layout is fixed; nothing is written beside the assets.
    io.IniFilename = nullptr;
    ImGui::StyleColorsDark();
    ImGui_ImplGlfw_InitForOpenGL(window, true);
    ImGui_ImplOpenGL3_Init("#version 430");
    setHudShown(hud, shown);
}

void stopHud(Hud& hud) {
    if (hud.frameOpen)
        ImGui::EndFrame();
    ImGui_ImplOpenGL3_Shutdown();
    ImGui_ImplGlfw_Shutdown();
    ImGui::DestroyContext();
    glfwSetKeyCallback(hud.window, viewerKeyCallback);
    glfwSetCursorPosCallback(hud.window, viewerCursorCallback);
    activeHud = nullptr;
}

void setHudShown(Hud& hud, bool shown) {
    if (shown == hud.shown)
        return;
    hud.shown = shown;
    if (shown) {
        glfwSetInputMode(hud.window, GLFW_CURSOR, GLFW_CURSOR_NORMAL);
        glfwGetCursorPos(hud.window, &hud.cursorX, &hud.cursorY);
        hud.restartTimer = true;
    } else {
        // Mouse look measures from the rest point again, as at start-up.
        glfwSetInputMode(hud.window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
        glfwSetCursorPos(hud.window, cursorRestX, cursorRestY);
    }
}

PassTimer* hudTimerForFrame(Hud& hud) {
    if (!hud.shown)
        return nullptr;
    if (hud.restartTimer || hud.timer.frame >= timerRestartFrames) {
        restartPassTimer(hud.timer);
        hud.restartTimer = false;
    }
    return &hud.timer;
}

void beginHudFrame(Hud& hud, const PassTimer* timing, SkippedPasses& skip, int liveParticles) {
    const auto now = std::chrono::steady_clock::now();
    if (hud.haveLastFrame)
        addFrameTime(hud.history, std::chrono::duration<float, std::milli>(now - hud.lastFrameStart).count());
    hud.lastFrameStart = now;
    hud.haveLastFrame = true;
    if (!hud.shown)
        return;

    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplGlfw_NewFrame();
    ImGui::NewFrame();
    hud.frameOpen = true;
    const ImVec2 display = ImGui::GetIO().DisplaySize;
    const float width = std::max(std::min(panelWidth, display.x - 2.0f * panelMargin), 60.0f);
    const float height = std::max(display.y - 2.0f * panelMargin, 40.0f);
    ImGui::SetNextWindowPos(ImVec2(panelMargin, panelMargin), ImGuiCond_Always);
    ImGui::SetNextWindowSizeConstraints(ImVec2(width, 0.0f), ImVec2(width, height));
    ImGui::Begin("Duskvale (F1 hides)", nullptr,
                 ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoCollapse |
                     ImGuiWindowFlags_NoSavedSettings);
    layOutSwitches(hud, skip);
    ImGui::Separator();
    layOutTimings(hud, timing);
    ImGui::Separator();
    layOutScene(liveParticles);
    ImGui::End();
}

bool hudWantsKeyboard(const Hud& hud) {
    return hud.shown && ImGui::GetIO().WantCaptureKeyboard;
}

void drawHud(Hud& hud) {
    if (!hud.frameOpen)
        return;
    hud.frameOpen = false;
    ImGui::Render();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
}
