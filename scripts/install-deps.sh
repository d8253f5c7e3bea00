#!/usr/bin/env bash
# Installs the Debian 12 packages Duskvale needs to build, run and test (sudo when not root); ffmpeg
# turns a recording into a video (without it --record writes the frames only); openbox is the window
# manager of the test that minimises the window.
set -euo pipefail
packages=(
    build-essential cmake pkg-config git
    libglfw3-dev libglm-dev libassimp-dev libstb-dev libinih-dev python3-glad
    libsdl2-mixer-dev libmp3lame-dev libembree-dev libgtest-dev libimgui-dev
    xvfb xauth xdotool libgl1-mesa-dri mesa-utils desktop-file-utils
    ffmpeg openbox gnuplot-nox imagemagick
)
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
