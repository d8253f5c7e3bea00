// Reads the raw output of SDL's disk audio driver (signed 16-bit little-endian, stereo, 44100 Hz)
// and prints its length and the spans in which something is heard, one "start end rms" line each
// (seconds, and the span's RMS as a fraction of full scale), for the end-to-end sound tests.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int sampleRate = 44100;
constexpr int channels = 2;
constexpr int windowFrames = sampleRate / 20; // 50 ms

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: pcm_probe FILE.raw [SILENCE_RMS]\n");
        return 2;
    }
    const double silence = argc > 2 ? std::atof(argv[2]) : 1e-4;
    std::FILE* file = std::fopen(argv[1], "rb");
    if (!file) {
        std::fprintf(stderr, "pcm_probe: cannot open %s\n", argv[1]);
        return 1;
    }
    std::vector<int16_t> samples;
    int16_t buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, sizeof(int16_t), 4096, file)) > 0)
        samples.insert(samples.end(), buffer, buffer + got);
    std::fclose(file);

    const size_t frames = samples.size() / channels;
    std::printf("length %.3f\n", static_cast<double>(frames) / sampleRate);
    bool open = false;
    double spanStart = 0.0, spanSum = 0.0;
    size_t spanCount = 0;
    // One window past the end closes a span still open there.
    for (size_t first = 0; first < frames + windowFrames; first += windowFrames) {
        const size_t last = std::min(frames, first + windowFrames);
        double sum = 0.0;
        for (size_t i = first * channels; i < last * channels; ++i)
            sum += samples[i] / 32768.0 * (samples[i] / 32768.0);
        const size_t count = first < last ? (last - first) * channels : 0;
        const bool heard = count > 0 && std::sqrt(sum / static_cast<double>(count)) > silence;
        const double at = static_cast<double>(std::min(first, frames)) / sampleRate;
        if (heard && !open) {
            open = true;
            spanStart = at;
            spanSum = 0.0;
            spanCount = 0;
        }
        if (heard) {
            spanSum += sum;
            spanCount += count;
        } else if (open) {
            open = false;
            std::printf("span %.3f %.3f %.5f\n", spanStart, at,
                        std::sqrt(spanSum / static_cast<double>(spanCount)));
        }
    }
    return 0;
}
