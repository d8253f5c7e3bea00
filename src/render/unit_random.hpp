// The viewer's one source of random numbers: the C library generator, never seeded, so every run
// draws the same sequence (the occlusion kernel and noise at start-up, the lamp flicker per frame).
#pragma once

// A uniform value in [0, 1]: a 15-bit draw of the C library generator divided by 32767.
float drawUnitRandom();
