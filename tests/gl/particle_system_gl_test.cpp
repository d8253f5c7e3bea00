// One emitter on a real context: what construction prints, the sprite array and its fallbacks, the
// compute step's counts, bounds and motion, and repeatable runs.
#include "particle_test_support.hpp"
#include "particles/sprite_array.hpp"

#include <cmath>
#include <cstring>

namespace {

const ParticlePrograms& programs() {
    static const ParticlePrograms built = buildParticlePrograms();
    return built;
}

GLuint counterValue(const ParticleSystem& emitter) {
    GLuint value = 0xDEAD;
    glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, emitter.counterBuffer);
    glGetBufferSubData(GL_ATOMIC_COUNTER_BUFFER, 0, sizeof(value), &value);
    return value;
}

ParticleSystem quietEmitter(int maxCount, int spawnRate, float ttl, double rate) {
    SpriteDirectory sprites;
    sprites.writeAll(8, 8);
    ::testing::internal::CaptureStdout();
    ParticleSystem emitter = makeEmitter(programs(), maxCount, spawnRate, ttl, rate);
    ::testing::internal::GetCapturedStdout();
    return emitter;
}

// Width, height and layer count of the emitter's sprite array, and its level-0 texels.
std::vector<unsigned char> spriteArray(const ParticleSystem& emitter, GLint size[3]) {
    glBindTexture(GL_TEXTURE_2D_ARRAY, emitter.spriteTexture);
    const GLenum which[3] = {GL_TEXTURE_WIDTH, GL_TEXTURE_HEIGHT, GL_TEXTURE_DEPTH};
    for (int k = 0; k < 3; ++k)
        glGetTexLevelParameteriv(GL_TEXTURE_2D_ARRAY, 0, which[k], &size[k]);
    std::vector<unsigned char> texels(static_cast<size_t>(size[0] * size[1] * size[2] * 4));
    glGetTexImage(GL_TEXTURE_2D_ARRAY, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

const char* const layerLines = "textures/smoke5.png\ntextures/smoke4.png\ntextures/smoke3.png\ntextures/"
                               "smoke2.png\ntextures/smoke1.png\n";

} // namespace

// The array takes its size from smoke5 (or, if that cannot be read, smoke4); a layer of another size
// is skipped; with no sprites at all the layers are empty and of the fallback size.
TEST(ParticleSystemGl, TheSpriteArraySizeAndItsFallbacks) {
    enum Setup { NoSmoke5, GarbageSmoke0Smoke4Only, OversizedSmoke3, NoFiles };
    const struct {
        Setup setup;
        glm::ivec2 size;
        const char* printed;
    } cases[] = {
        {NoSmoke5, {8, 8}, "sizing the sprite array from textures/smoke5.png (8x8)"},
        {GarbageSmoke0Smoke4Only, {12, 10}, "textures/smoke1.png\n"},
        {OversizedSmoke3, {8, 8}, "textures/smoke1.png\n"},
        {NoFiles, {fallbackSpriteSize, fallbackSpriteSize}, "using 64x64 empty layers"},
    };
    for (const auto& c : cases) {
        SpriteDirectory sprites;
        if (c.setup == NoSmoke5 || c.setup == OversizedSmoke3)
            sprites.writeAll(8, 8);
        if (c.setup == NoSmoke5)
            std::filesystem::remove(sprites.path(0));
        if (c.setup == OversizedSmoke3)
            sprites.writeSprite(3, 32, 32);
        if (c.setup == GarbageSmoke0Smoke4Only) {
            sprites.writeGarbage(0);
            sprites.writeSprite(4, 12, 10);
        }
        ::testing::internal::CaptureStdout();
        const ParticleSystem emitter = makeEmitter(programs(), 100, 12, 20.0f, 10.0);
        const std::string out = ::testing::internal::GetCapturedStdout();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << c.setup;
        EXPECT_NE(out.find(c.printed), std::string::npos) << c.setup << ": " << out;
        GLint size[3];
        const std::vector<unsigned char> texels = spriteArray(emitter, size);
        EXPECT_EQ(glm::ivec2(size[0], size[1]), c.size) << c.setup;
        if (c.setup == NoSmoke5) { // two seeds, then the layers from smoke5 down to smoke1
            EXPECT_EQ(out.find("particle count:  2\n"), 0u) << out;
            EXPECT_NE(out.find(layerLines), std::string::npos) << out;
        }
        if (c.setup == OversizedSmoke3) {
            EXPECT_EQ(texels[(1 * 64) * 4], 40 * 4);
            EXPECT_EQ(texels[(3 * 64) * 4], 40 * 2);
        }
    }
}

TEST(ParticleSystemGl, ALongRunStaysWithinTheCapacityWithSaneParticles) {
    ParticleSystem emitter = quietEmitter(300, 50, 100.0f, 30.0);
    int peak = 0;
    for (int step = 0; step < 2000; ++step) {
        // The program itself must keep its counter within the capacity, before the CPU's bound.
        emitter.runComputeStep(1.0 / 30.0);
        glMemoryBarrier(GL_BUFFER_UPDATE_BARRIER_BIT);
        ASSERT_LE(counterValue(emitter), 300u) << "step " << step;
        emitter.collectLiveCount();
        ASSERT_GT(emitter.liveCount, 2) << "step " << step;
        ASSERT_LE(emitter.liveCount, 300) << "step " << step;
        peak = std::max(peak, emitter.liveCount);
    }
    EXPECT_EQ(peak, 300);
    const std::vector<glm::vec4> positions = readParticles(emitter.positionBuffers[emitter.current], 300);
    const std::vector<glm::vec4> velocities = readParticles(emitter.velocityBuffers[emitter.current], 300);
    float oldest = 100.0f;
    for (size_t k = 0; k < positions.size(); ++k) {
        ASSERT_TRUE(std::isfinite(glm::length(positions[k])) && std::isfinite(glm::length(velocities[k])));
        ASSERT_GT(positions[k].w, 0.0f);
        ASSERT_LE(positions[k].w, 100.0f);
        oldest = std::min(oldest, positions[k].w);
    }
    // Full buffers refuse new particles rather than dropping living ones: the seeds are still there.
    EXPECT_NEAR(oldest, 100.0f - 2000.0f / 30.0f, 0.01f);
}

TEST(ParticleSystemGl, ParticlesRiseDriftWithTheWindAndDie) {
    ParticleSystem emitter = quietEmitter(2000, 12, 1.5f, 10.0);
    emitter.windForce = glm::vec3(0.8f, 0.0f, 0.0f);
    for (int step = 0; step < 60; ++step)
        emitter.update(1.0 / 30.0);
    const int running = emitter.liveCount;
    EXPECT_GT(running, 100);
    glm::vec3 mean(0.0f);
    for (const glm::vec4& particle : readParticles(emitter.positionBuffers[emitter.current], running))
        mean += glm::vec3(particle) / static_cast<float>(running);
    EXPECT_GT(mean.y, 0.03f);
    EXPECT_GT(mean.x, 0.05f);
    EXPECT_NEAR(mean.z, 0.0f, 0.15f);

    // Without new spawns every particle is gone once the longest life has run out.
    emitter.spawnsPerSecond = 0.0;
    for (int step = 0; step < 48; ++step)
        emitter.update(1.0 / 30.0);
    EXPECT_EQ(emitter.liveCount, 0);
}

// A program that over-counts (here by a whole work group) must not make the CPU draw or read beyond
// the buffers: the count is cut to the capacity and the counter cleared.
TEST(ParticleSystemGl, ACounterBeyondTheCapacityIsClampedOnTheCpu) {
    const ShaderProgram runaway =
        buildComputeProgram("#version 430 core\n"
                            "layout(local_size_x = 256) in;\n"
                            "layout(binding = 4, offset = 0) uniform atomic_uint c;\n"
                            "void main() { atomicCounterIncrement(c); }\n");
    ASSERT_NE(runaway.id, 0u);
    ParticleSystem emitter = quietEmitter(16, 12, 20.0f, 10.0);
    emitter.computeProgram = runaway.id;
    emitter.update(1.0 / 60.0);
    EXPECT_EQ(emitter.liveCount, 16);
    EXPECT_EQ(counterValue(emitter), 0u);
    emitter.draw(glm::mat4(1.0f), glm::mat4(1.0f));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A program id of 0 (a failed build) must neither raise GL errors every frame nor draw.
TEST(ParticleSystemGl, AnEmitterWhoseProgramsFailedShowsNothingWithoutGlErrors) {
    ParticleSystem emitter = quietEmitter(100, 12, 20.0f, 10.0);
    emitter.computeProgram = emitter.renderProgram = 0;
    clearGlErrors();
    emitter.update(1.0 / 60.0);
    emitter.draw(glm::mat4(1.0f), glm::mat4(1.0f));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(emitter.liveCount, 0);
}

// Runs at a fixed step must repeat, smoke included: two emitters fed the same steps hold the same
// buffers, slot for slot, while thousands of particles spread over many work groups are born and die.
TEST(ParticleSystemGl, TheSameStepsGiveTheSameBuffers) {
    ParticleSystem first = quietEmitter(20000, 400, 1.5f, 10.0);
    ParticleSystem second = quietEmitter(20000, 400, 1.5f, 10.0);
    int peak = 0;
    for (int step = 0; step < 90; ++step) {
        first.update(1.0 / 30.0);
        second.update(1.0 / 30.0);
        ASSERT_EQ(first.liveCount, second.liveCount) << "step " << step;
        peak = std::max(peak, first.liveCount);
        for (const auto buffers : {&ParticleSystem::positionBuffers, &ParticleSystem::velocityBuffers}) {
            const std::vector<glm::vec4> a = readParticles((first.*buffers)[first.current], first.liveCount);
            const std::vector<glm::vec4> b =
                readParticles((second.*buffers)[second.current], first.liveCount);
            ASSERT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(glm::vec4)), 0) << "step " << step;
        }
    }
    EXPECT_GT(peak, 4000); // many work groups; some have died (1.5 s of life in 3 s)
}
