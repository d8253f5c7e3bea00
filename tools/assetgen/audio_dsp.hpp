// Small signal-processing pieces the sound synthesis is built from: seeded noise, biquad filters,
// a stereo reverb and an oscillator that is exactly periodic over a loop. Everything is deterministic:
// no library random generator or distribution whose output could differ between standard libraries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int audioSampleRate = 44100;
constexpr double twoPi = 6.283185307179586;

// Interleaved samples in [-1, 1].
struct PcmBuffer {
    int channels = 1;
    std::vector<float> samples;
    size_t frames() const { return samples.size() / static_cast<size_t>(channels); }
};

// White noise in [-1, 1) addressed by index, so a loop can read it modulo its length and stay periodic.
double hashNoise(uint64_t index, uint64_t seed);

// A sequential generator for choices made while composing (jitter, event times).
struct AudioRng {
    uint64_t state;
    explicit AudioRng(uint64_t seed) : state(seed) {}
    uint64_t next();
    double uniform(); // [0, 1)
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
};

// Direct form I biquad; coefficients may be changed between samples without resetting the state.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double process(double x);
    void setLowPass(double cutoffHz, double q);
    void setHighPass(double cutoffHz, double q);
    // Unit gain at the centre frequency.
    void setBandPass(double centerHz, double q);
};

// Schroeder-Moorer reverb (parallel damped combs, then series all-passes), one set per channel with
// slightly different lengths so the two sides decorrelate.
struct Reverb {
    struct Comb {
        std::vector<float> line;
        size_t pos = 0;
        float damped = 0;
    };
    struct AllPass {
        std::vector<float> line;
        size_t pos = 0;
    };
    Comb combs[2][8];
    AllPass allPasses[2][4];
    float feedback = 0.86f;
    float damping = 0.3f;

    Reverb();
    void process(float inLeft, float inRight, float& outLeft, float& outRight);
};

// One period of a waveform made of harmonics, read by a phase in [0, 1) with linear interpolation.
struct WaveTable {
    static constexpr size_t size = 4096; // a power of two, so wrapping is a mask
    std::vector<float> values;
    explicit WaveTable(const std::vector<double>& harmonicAmplitudes);
    float at(double phase) const {
        const double position = phase * static_cast<double>(size);
        const size_t i = static_cast<size_t>(position);
        const float frac = static_cast<float>(position - static_cast<double>(i));
        const float a = values[i & (size - 1)];
        return a + (values[(i + 1) & (size - 1)] - a) * frac;
    }
};

// The phase of an oscillator that makes exactly `cycles` whole cycles in `loopFrames`: computed from the
// frame index in integers, so the last frame of the loop flows into the first without drift.
inline double loopPhase(uint64_t cycles, uint64_t frame, uint64_t loopFrames) {
    return static_cast<double>((cycles * frame) % loopFrames) / static_cast<double>(loopFrames);
}

// Raised-cosine step from 0 (at or before edge0) to 1 (at or after edge1).
double smoothStep(double edge0, double edge1, double x);
