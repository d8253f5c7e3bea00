// Implementation of the signal-processing pieces; filter formulas are the usual RBJ cookbook ones.
#include "audio_dsp.hpp"

#include <cmath>

namespace {

uint64_t splitMix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

double unitFromBits(uint64_t bits) {
    return static_cast<double>(bits >> 11) * (1.0 / 9007199254740992.0);
}

// Freeverb's tunings at 44.1 kHz; the right side is offset so the channels decorrelate.
constexpr int combLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr int allPassLengths[4] = {556, 441, 341, 225};
constexpr int stereoSpread = 23;

} // namespace

double hashNoise(uint64_t index, uint64_t seed) {
    return 2.0 * unitFromBits(splitMix(index ^ splitMix(seed))) - 1.0;
}

uint64_t AudioRng::next() {
    state = splitMix(state);
    return state;
}

double AudioRng::uniform() {
    return unitFromBits(next());
}

double Biquad::process(double x) {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
}

void Biquad::setLowPass(double cutoffHz, double q) {
    const double w = twoPi * cutoffHz / audioSampleRate;
    const double alpha = std::sin(w) / (2 * q);
    const double c = std::cos(w);
    const double a0 = 1 + alpha;
    b0 = (1 - c) / 2 / a0;
    b1 = (1 - c) / a0;
    b2 = b0;
    a1 = -2 * c / a0;
    a2 = (1 - alpha) / a0;
}

void Biquad::setHighPass(double cutoffHz, double q) {
    const double w = twoPi * cutoffHz / audioSampleRate;
    const double alpha = std::sin(w) / (2 * q);
    const double c = std::cos(w);
    const double a0 = 1 + alpha;
    b0 = (1 + c) / 2 / a0;
    b1 = -(1 + c) / a0;
    b2 = b0;
    a1 = -2 * c / a0;
    a2 = (1 - alpha) / a0;
}

void Biquad::setBandPass(double centerHz, double q) {
    const double w = twoPi * centerHz / audioSampleRate;
    const double alpha = std::sin(w) / (2 * q);
    const double a0 = 1 + alpha;
    b0 = alpha / a0;
    b1 = 0;
    b2 = -alpha / a0;
    a1 = -2 * std::cos(w) / a0;
    a2 = (1 - alpha) / a0;
}

Reverb::Reverb() {
    for (int side = 0; side < 2; ++side) {
        for (int i = 0; i < 8; ++i)
            combs[side][i].line.assign(static_cast<size_t>(combLengths[i] + side * stereoSpread), 0.0f);
        for (int i = 0; i < 4; ++i)
            allPasses[side][i].line.assign(static_cast<size_t>(allPassLengths[i] + side * stereoSpread),
                                           0.0f);
    }
}

void Reverb::process(float inLeft, float inRight, float& outLeft, float& outRight) {
    const float input[2] = {inLeft, inRight};
    float output[2] = {0, 0};
    for (int side = 0; side < 2; ++side) {
        float sum = 0;
        for (Comb& comb : combs[side]) {
            const float delayed = comb.line[comb.pos];
            comb.damped = delayed * (1 - damping) + comb.damped * damping;
            comb.line[comb.pos] = input[side] + comb.damped * feedback;
            if (++comb.pos == comb.line.size())
                comb.pos = 0;
            sum += delayed;
        }
        for (AllPass& allPass : allPasses[side]) {
            const float delayed = allPass.line[allPass.pos];
            allPass.line[allPass.pos] = sum + delayed * 0.5f;
            if (++allPass.pos == allPass.line.size())
                allPass.pos = 0;
            sum = delayed - sum;
        }
        output[side] = sum;
    }
    outLeft = output[0];
    outRight = output[1];
}

WaveTable::WaveTable(const std::vector<double>& harmonicAmplitudes) : values(size) {
    for (size_t i = 0; i < size; ++i) {
        double v = 0;
        for (size_t h = 0; h < harmonicAmplitudes.size(); ++h)
            v += harmonicAmplitudes[h] * std::sin(twoPi * static_cast<double>((h + 1) * i) / size);
        values[i] = static_cast<float>(v);
    }
}

double smoothStep(double edge0, double edge1, double x) {
    if (x <= edge0)
        return 0.0;
    if (x >= edge1)
        return 1.0;
    return 0.5 - 0.5 * std::cos(3.141592653589793 * (x - edge0) / (edge1 - edge0));
}
