// Uniform [0, 1] draws from the C library generator.
#include "render/unit_random.hpp"

#include <cstdlib>

float drawUnitRandom() {
    // The divisor 32767 assumes a 15-bit generator; glibc's rand() reaches 2^31 - 1, and dividing
    // that by 32767 would give values up to 65538. Keeping the low 15 bits gives [0, 1] everywhere.
    return static_cast<float>(std::rand() % 32768) / 32767.0f;
}
