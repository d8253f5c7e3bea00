// The screenshot key: the picture of the frame goes into a PNG named after the date and time, in the
// folder the viewer was started from or the one --screenshot-dir names.
#pragma once

#include <ctime>
#include <string>

// "duskvale_2026-12-07_19-40-24.png" for the local time; the second and later pictures of the same
// second get "_2", "_3", ... before the extension.
std::string datedScreenshotName(const std::tm& localTime, int sameSecondIndex);

// The first dated name in folder that names no existing file, joined to the folder.
std::string freeScreenshotPath(const std::string& folder, const std::tm& localTime);

// Writes the back buffer's width x height picture under a dated name in folder and prints its path;
// a folder that is missing or not writable prints one line instead and the run goes on. Returns the
// path written, or an empty string.
std::string writeDatedScreenshot(const std::string& folder, int width, int height);
