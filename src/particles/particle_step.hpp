// The CPU-side arithmetic of one particle step: how many spawn events a frame holds, how many work
// groups the compute dispatch needs, and how far the live count read back from the GPU is trusted.
// Kept apart from GL so it can be checked without a context.
#pragma once

#include <cstdint>

// Threads per work group of the particle compute program; the shader's local size must match.
constexpr int particleWorkGroupSize = 256;

// Adds deltaSeconds × spawnsPerSecond to the accumulator and takes out the whole spawn events, leaving
// only the fraction below 1 to carry over to the next frame. The count saturates at the largest int,
// because it is handed to the compute program as a signed uniform.
uint32_t takeSpawnEvents(double& spawnAccumulator, double deltaSeconds, double spawnsPerSecond);

// Work groups for one step: a frame with exactly one spawn event covers the live particles plus one
// spawn batch; every other frame covers the live particles alone (at least one group either way).
uint32_t particleWorkGroups(int liveCount, int spawnRate, uint32_t spawnCount);

// The counter value read back becomes the live count; a faulty compute program could report more
// particles than the buffers hold, so the count never exceeds the capacity.
int32_t clampLiveCount(uint32_t counterValue, int32_t maxCount);
