// The background music: a 96 s dark ambient loop in D minor. Every layer is periodic over the loop:
// oscillators make whole cycles, envelopes are functions of the loop position, events that run past the
// end wrap round to the start, and the filters and the reverb run over the loop's tail before the loop
// itself, so their state at the first sample is the state the last sample leaves behind.
#include "audio_pieces.hpp"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

constexpr uint64_t loopFrames = static_cast<uint64_t>(musicLoopSeconds) * audioSampleRate;
constexpr double chordSeconds = musicLoopSeconds / 4.0;
// Each chord fades into the next over this long; outside the fades it holds full weight.
constexpr double crossfadeSeconds = 8.0;
constexpr double chordPlateau = chordSeconds / 2 - crossfadeSeconds / 2;
// Enough run-in for the filters and the reverb tail to reach the steady state the loop wraps into.
constexpr int64_t runInFrames = 10 * audioSampleRate;
// Envelopes and filter sweeps change slowly and are updated once per this many frames (the loop
// holds a whole number of such blocks).
constexpr uint64_t controlFrames = 64;
static_assert(loopFrames % controlFrames == 0);

struct Chord {
    int bass;
    int notes[3];
};

// D minor, B-flat, G minor, A major (MIDI numbers): the A major leans back into the D minor at the seam.
const Chord chords[4] = {{38, {50, 53, 57}}, {34, {46, 50, 53}}, {31, {43, 46, 50}}, {33, {45, 49, 52}}};

struct Chime {
    double seconds;
    int note;
    double pan; // 0 left .. 1 right
};

const Chime chimes[] = {{4.5, 81, 0.3},  {15.0, 77, 0.7},  {28.0, 86, 0.45}, {39.5, 77, 0.2},
                        {52.0, 79, 0.8}, {63.0, 74, 0.35}, {76.5, 76, 0.6},  {88.0, 85, 0.25}};

const double rumbleSeconds[] = {21.0, 69.0};

double noteHz(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

uint64_t cyclesPerLoop(double hz) {
    return static_cast<uint64_t>(std::llround(hz * musicLoopSeconds));
}

// An oscillator whose phase is an exact fraction of the loop: stepping it loopFrames times returns it
// to where it started, to the bit.
struct LoopOscillator {
    uint64_t cycles = 0;
    uint64_t accumulator = 0;
    double next() {
        const double phase = static_cast<double>(accumulator) / static_cast<double>(loopFrames);
        accumulator += cycles;
        if (accumulator >= loopFrames)
            accumulator -= loopFrames;
        return phase;
    }
};

double loopSine(double cyclesInLoop, double seconds, double offset) {
    return std::sin(twoPi * cyclesInLoop * seconds / musicLoopSeconds + offset);
}

// Weight of a chord at a loop position: full on its plateau, raised-cosine fades that sum to one with
// the neighbour's, and the last chord fades into the first across the seam.
double chordWeight(int chord, double seconds) {
    const double center = (chord + 0.5) * chordSeconds;
    double distance = std::fabs(seconds - center);
    distance = std::min(distance, musicLoopSeconds - distance);
    if (distance <= chordPlateau)
        return 1.0;
    if (distance >= chordPlateau + crossfadeSeconds)
        return 0.0;
    return 0.5 + 0.5 * std::cos(3.141592653589793 * (distance - chordPlateau) / crossfadeSeconds);
}

void addPadAndBass(std::vector<float>& left, std::vector<float>& right, std::vector<float>& send) {
    const WaveTable warm({1.0, 0.45, 0.28, 0.16, 0.09, 0.05, 0.03});
    const WaveTable bassWave({1.0, 0.3});
    const WaveTable sine({1.0});
    LoopOscillator voices[4][3][3];
    LoopOscillator bass[4];
    for (int c = 0; c < 4; ++c) {
        bass[c].cycles = cyclesPerLoop(noteHz(chords[c].bass));
        for (int v = 0; v < 3; ++v) {
            const uint64_t k = cyclesPerLoop(noteHz(chords[c].notes[v]));
            const uint64_t detune = std::max<uint64_t>(1, k / 700);
            voices[c][v][0].cycles = k - detune;
            voices[c][v][1].cycles = k;
            voices[c][v][2].cycles = k + detune;
        }
    }
    // A low D under everything, beating slowly against a partner a twentieth of a hertz above it.
    LoopOscillator drone{cyclesPerLoop(noteHz(26))}, droneBeat{cyclesPerLoop(noteHz(26)) + 5};

    double weights[4] = {}, gains[4][3] = {}, swell = 0;
    for (uint64_t n = 0; n < loopFrames; ++n) {
        if (n % controlFrames == 0) {
            const double t = static_cast<double>(n) / audioSampleRate;
            for (int c = 0; c < 4; ++c) {
                weights[c] = chordWeight(c, t);
                for (int v = 0; v < 3; ++v)
                    gains[c][v] = 0.03 * weights[c] * (0.7 + 0.3 * loopSine(5 + 2 * v + c, t, v * 1.7));
            }
            swell = 0.1 * (0.8 + 0.2 * loopSine(3, t, 0.0));
        }
        double l = 0, r = 0, padSum = 0;
        for (int c = 0; c < 4; ++c) {
            if (weights[c] == 0.0) {
                // Silent chords still step their oscillators, so each stays a function of the frame.
                for (auto& voice : voices[c])
                    for (LoopOscillator& oscillator : voice)
                        oscillator.next();
                bass[c].next();
                continue;
            }
            for (int v = 0; v < 3; ++v) {
                const double low = warm.at(voices[c][v][0].next());
                const double mid = warm.at(voices[c][v][1].next());
                const double high = warm.at(voices[c][v][2].next());
                l += gains[c][v] * (low + 0.7 * mid);
                r += gains[c][v] * (high + 0.7 * mid);
                padSum += gains[c][v] * (low + mid + high);
            }
            const double b = 0.09 * weights[c] * bassWave.at(bass[c].next());
            l += b;
            r += b;
        }
        l += swell * sine.at(drone.next());
        r += swell * sine.at(droneBeat.next());
        left[n] += static_cast<float>(l);
        right[n] += static_cast<float>(r);
        send[n] += static_cast<float>(0.3 * padSum);
    }
}

// Wind: noise through a slowly wandering band-pass, one independent gust pattern per side.
void addWind(std::vector<float>& out, int side, std::vector<float>& send) {
    Biquad band;
    double center = 0;
    for (int64_t i = -runInFrames; i < static_cast<int64_t>(loopFrames); ++i) {
        const uint64_t n = static_cast<uint64_t>((i + static_cast<int64_t>(loopFrames)) % loopFrames);
        const double t = static_cast<double>(n) / audioSampleRate;
        if (n % controlFrames == 0 || i == -runInFrames) {
            const double wander = 0.6 * loopSine(3, t, side * 1.3) + 0.4 * loopSine(7, t, side * 0.7);
            center = 380.0 * std::pow(2.0, 1.4 * wander);
            band.setBandPass(center, 0.9);
        }
        const double gust = 0.55 + 0.45 * loopSine(4, t, side * 2.1);
        const double y = band.process(hashNoise(n, 11 + side)) * 0.09 * gust * gust;
        if (i >= 0) {
            out[n] += static_cast<float>(y);
            send[n] += static_cast<float>(0.2 * y);
        }
    }
}

// Distant glassy chimes with inharmonic partials; mostly heard through the reverb. Each partial is a
// decaying phasor advanced by one complex multiplication per sample.
void addChimes(std::vector<float>& left, std::vector<float>& right, std::vector<float>& send) {
    const double ratios[4] = {1.0, 2.76, 5.40, 8.93};
    const double amplitudes[4] = {1.0, 0.45, 0.2, 0.08};
    const double decays[4] = {6.0, 3.0, 1.5, 0.7};
    const int64_t length = 9 * audioSampleRate;
    for (const Chime& chime : chimes) {
        const double hz = noteHz(chime.note);
        std::complex<double> partial[4], step[4];
        for (int p = 0; p < 4; ++p) {
            partial[p] = amplitudes[p];
            step[p] = std::exp(std::complex<double>(-1.0 / decays[p], twoPi * hz * ratios[p]) /
                               double(audioSampleRate));
        }
        const uint64_t start = static_cast<uint64_t>(chime.seconds * audioSampleRate);
        for (int64_t i = 0; i < length; ++i) {
            double v = 0;
            for (int p = 0; p < 4; ++p) {
                v += partial[p].imag();
                partial[p] *= step[p];
            }
            v *= 0.03 * smoothStep(0.0, 0.004, static_cast<double>(i) / audioSampleRate);
            const uint64_t n = (start + static_cast<uint64_t>(i)) % loopFrames;
            left[n] += static_cast<float>(0.4 * v * (1 - chime.pan));
            right[n] += static_cast<float>(0.4 * v * chime.pan);
            send[n] += static_cast<float>(v);
        }
    }
}

// Far-off rumbles before two chord changes: deep filtered noise swelling and dying away.
void addRumbles(std::vector<float>& left, std::vector<float>& right) {
    const int64_t length = 11 * audioSampleRate;
    int seed = 0;
    for (double startSeconds : rumbleSeconds) {
        Biquad lowL, lowR, lowL2, lowR2;
        for (Biquad* filter : {&lowL, &lowR, &lowL2, &lowR2})
            filter->setLowPass(90.0, 0.7);
        const uint64_t start = static_cast<uint64_t>(startSeconds * audioSampleRate);
        ++seed;
        for (int64_t i = 0; i < length; ++i) {
            const double t = static_cast<double>(i) / audioSampleRate;
            const double envelope = smoothStep(0.0, 2.5, t) * std::exp(-std::max(0.0, t - 2.5) / 2.2);
            const double l = lowL2.process(lowL.process(hashNoise(static_cast<uint64_t>(i), 100 + seed)));
            const double r = lowR2.process(lowR.process(hashNoise(static_cast<uint64_t>(i), 200 + seed)));
            const uint64_t n = (start + static_cast<uint64_t>(i)) % loopFrames;
            left[n] += static_cast<float>(3.0 * envelope * l);
            right[n] += static_cast<float>(3.0 * envelope * r);
        }
    }
}

void addReverb(std::vector<float>& left, std::vector<float>& right, const std::vector<float>& send) {
    Reverb reverb;
    for (int64_t i = -runInFrames; i < static_cast<int64_t>(loopFrames); ++i) {
        const uint64_t n = static_cast<uint64_t>((i + static_cast<int64_t>(loopFrames)) % loopFrames);
        float wetLeft = 0, wetRight = 0;
        reverb.process(0.035f * send[n], 0.035f * send[n], wetLeft, wetRight);
        if (i >= 0) {
            left[n] += wetLeft;
            right[n] += wetRight;
        }
    }
}

} // namespace

PcmBuffer synthesizeBackgroundMusic() {
    std::vector<float> left(loopFrames, 0.0f), right(loopFrames, 0.0f), send(loopFrames, 0.0f);
    addPadAndBass(left, right, send);
    addWind(left, 0, send);
    addWind(right, 1, send);
    addChimes(left, right, send);
    addRumbles(left, right);
    addReverb(left, right, send);

    float peak = 0;
    for (uint64_t n = 0; n < loopFrames; ++n)
        peak = std::max({peak, std::fabs(left[n]), std::fabs(right[n])});
    // Well below full scale, so the music and two overlapping character sounds mix without clipping.
    const float gain = peak > 0 ? 0.45f / peak : 0.0f;
    PcmBuffer pcm;
    pcm.channels = 2;
    pcm.samples.resize(2 * loopFrames);
    for (uint64_t n = 0; n < loopFrames; ++n) {
        pcm.samples[2 * n] = left[n] * gain;
        pcm.samples[2 * n + 1] = right[n] * gain;
    }
    return pcm;
}
