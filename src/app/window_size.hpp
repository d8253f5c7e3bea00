// Keeps the window size of the settings within what a window and its screen-sized render targets can
// have, before anything is created with it: GLFW aborts on a negative size, and drivers misbehave on
// targets beyond their limits instead of refusing them.
#pragma once

#include "app/options.hpp"
#include "app/settings.hpp"

#include <string>
#include <vector>

// Every OpenGL 4.3 context accepts at least this width and height for viewports, textures and
// renderbuffers, so each screen-sized target can be made at any size up to it.
constexpr int maxWindowDimension = 16384;

// The settings with a usable window size: a width or height below 1 takes its default, one above
// maxWindowDimension is lowered to it. Adds one line to `notes` for each value it changes.
Settings withUsableWindowSize(Settings settings, std::vector<std::string>& notes);

// The settings with the command line's window choices on top: --size replaces width and height,
// --fullscreen or --windowed replaces fullscreen. Options left out change nothing.
Settings withWindowOptions(Settings settings, const Options& options);
