# How the golden images and the static scene's image test are rendered, shared by
# tests/e2e/static_scene_images.sh and tests/golden/regenerate.sh.
GOLDEN_SETTINGS="[window]
width = 320
height = 180
fullscreen = false
automaticCam = true"
# One second of flight per frame: frame N shows the flight at N seconds.
GOLDEN_STEP=1
# The static scene alone: the smoke drifts with its own random source and has tests of its own.
GOLDEN_ARGS=(--skip-pass particles)
# Frames kept as golden images: the top floor at 2 s, the street at 70 s.
GOLDEN_FRAMES="2 70"
# The tolerance: at most 0.1 % of the 320 x 180 pixels may differ by more than 5/255 in a channel.
# Repeated runs on llvmpipe give identical pictures; the margin is for other CPUs and Mesa builds.
GOLDEN_TOLERANCE=5
GOLDEN_MAX_PIXELS=57
