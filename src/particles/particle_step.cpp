// Spawn timing, dispatch sizing and the live-count bound of a particle step.
#include "particles/particle_step.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

uint32_t takeSpawnEvents(double& spawnAccumulator, double deltaSeconds, double spawnsPerSecond) {
    spawnAccumulator += deltaSeconds * spawnsPerSecond;
    if (!(spawnAccumulator >= 1.0))
        return 0;
    const double whole = std::floor(spawnAccumulator);
    spawnAccumulator -= whole;
    const double largest = static_cast<double>(std::numeric_limits<int32_t>::max());
    return static_cast<uint32_t>(std::min(whole, largest));
}

uint32_t particleWorkGroups(int liveCount, int spawnRate, uint32_t spawnCount) {
    const int64_t live = std::max(liveCount, 0);
    const int64_t covered = spawnCount == 1 ? live + std::max(spawnRate, 0) : live;
    return static_cast<uint32_t>(covered / particleWorkGroupSize + 1);
}

int32_t clampLiveCount(uint32_t counterValue, int32_t maxCount) {
    const uint32_t capacity = static_cast<uint32_t>(std::max(maxCount, 0));
    return static_cast<int32_t>(std::min(counterValue, capacity));
}
