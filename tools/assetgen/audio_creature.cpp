// The character's sound: a rasping inhale, a low growl from a jittered glottal pulse through a large
// creature's formants, and a heavy exhale. It starts and ends in silence, so its loop never clicks.
#include "audio_pieces.hpp"

#include <algorithm>
#include <cmath>

namespace {

constexpr double pi = 3.141592653589793;

// One glottal flow pulse (Rosenberg's shape) at phase u of its period: opens over 45 %, closes over 20 %.
double glottalFlow(double u) {
    constexpr double opening = 0.45, closing = 0.2;
    if (u < opening)
        return 0.5 * (1 - std::cos(pi * u / opening));
    if (u < opening + closing)
        return std::cos(pi * (u - opening) / (2 * closing));
    return 0.0;
}

// Pitch of the growl: rises into a snarl, then sags as the breath runs out.
double growlPitch(double t) {
    const double snarl = std::exp(-std::pow((t - 0.95) / 0.3, 2.0));
    return 74.0 + 22.0 * snarl - 16.0 * smoothStep(1.5, 2.5, t);
}

double lerp(double a, double b, double x) {
    return a + (b - a) * x;
}

} // namespace

PcmBuffer synthesizeCreatureSound() {
    const size_t frames = static_cast<size_t>(creatureSoundSeconds * audioSampleRate);
    std::vector<double> out(frames, 0.0);
    AudioRng rng(0x57E4D3E1);

    // Glottal source, period by period, with per-period jitter and an alternating weak pulse
    // (period doubling) that gives the growl its rattle.
    Biquad formants[3], chest, raspFilter, inhaleBand, exhaleLow, exhaleBand;
    chest.setLowPass(220.0, 0.8);
    raspFilter.setLowPass(45.0, 0.7);
    exhaleLow.setLowPass(1100.0, 0.7);
    exhaleBand.setBandPass(480.0, 0.8);
    double phase = 0, periodScale = 1, pulseGain = 1, previousFlow = 0;
    bool weakPulse = false;
    for (size_t n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) / audioSampleRate;

        phase += growlPitch(t) * periodScale / audioSampleRate;
        if (phase >= 1.0) {
            phase -= 1.0;
            periodScale = 1.0 + rng.range(-0.05, 0.05);
            weakPulse = !weakPulse;
            const double doubling = lerp(0.25, 0.55, smoothStep(0.9, 2.3, t));
            pulseGain = (weakPulse ? 1.0 - doubling : 1.0) * (1.0 + rng.range(-0.1, 0.1));
        }
        const double flow = glottalFlow(phase) * pulseGain;
        const double flowSlope = (flow - previousFlow) * 20.0;
        previousFlow = flow;
        const double noise = hashNoise(n, 77);
        // Breath noise rides on the open part of each pulse.
        const double source = flowSlope + 0.25 * noise * flow;

        // Formants of a large throat gliding from an open "ah" towards a closed "oh".
        if (n % 32 == 0) {
            const double vowel = smoothStep(0.7, 2.3, t);
            formants[0].setBandPass(lerp(520.0, 360.0, vowel), 4.0);
            formants[1].setBandPass(lerp(880.0, 640.0, vowel), 7.0);
            formants[2].setBandPass(2150.0, 9.0);
            inhaleBand.setBandPass(lerp(1200.0, 1900.0, smoothStep(0.0, 0.5, t)), 0.8);
        }
        const double voiced = formants[0].process(source) + 0.6 * formants[1].process(source) +
                              0.25 * formants[2].process(source) + 0.5 * chest.process(source);
        const double rasp = 1.0 + std::clamp(6.0 * raspFilter.process(hashNoise(n, 91)), -0.7, 0.7) +
                            0.3 * std::sin(2 * pi * 27.0 * t);
        const double growlEnvelope = smoothStep(0.5, 0.68, t) * (1.0 - smoothStep(2.15, 2.6, t)) *
                                     (0.85 + 0.15 * std::sin(2 * pi * 1.3 * t));
        double sample = voiced * rasp * growlEnvelope;

        const double inhaleEnvelope = smoothStep(0.0, 0.4, t) * (1.0 - smoothStep(0.42, 0.58, t));
        sample += 0.16 * inhaleBand.process(noise) * inhaleEnvelope;

        const double exhaleEnvelope = smoothStep(2.4, 2.55, t) * (1.0 - smoothStep(2.6, 3.25, t));
        sample += 0.4 * exhaleBand.process(exhaleLow.process(noise)) * exhaleEnvelope;

        out[n] = sample;
    }

    double peak = 0;
    for (double v : out)
        peak = std::max(peak, std::fabs(v));
    // Quiet enough that this sound twice over and the music still mix below full scale.
    const double gain = peak > 0 ? 0.5 / peak : 0.0;
    PcmBuffer pcm;
    pcm.channels = 1;
    pcm.samples.resize(frames);
    for (size_t n = 0; n < frames; ++n) {
        // The last tenth of a second is forced to silence: filter tails must not reach the loop point.
        const double edge = smoothStep(0.0, 0.005, static_cast<double>(n) / audioSampleRate) *
                            (1.0 - smoothStep(creatureSoundSeconds - 0.15, creatureSoundSeconds - 0.05,
                                              static_cast<double>(n) / audioSampleRate));
        pcm.samples[n] = static_cast<float>(out[n] * gain * edge);
    }
    return pcm;
}
