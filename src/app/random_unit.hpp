// The one random source of the viewer: the C library generator, never seeded, so every run draws the
// same sequence (light flicker and the occlusion kernel share it).
#pragma once

#include <cstdlib>

// A value in [0, 1] as a 15-bit integer divided by 32767. The scene's odds (a 0.5 % chance of an
// outage per light and frame) assume a generator whose largest value is 32767; glibc's goes up to
// 2^31 - 1, so only the low 15 bits are kept, which makes the division land in [0, 1] here too.
inline float randomUnit() {
    return static_cast<float>(std::rand() % 32768) / 32767.0f;
}
