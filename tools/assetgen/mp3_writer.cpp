// The whole file is encoded in memory and written once: the LAME tag can only be made after the last
// frame, and it replaces the empty frame the encoder reserved at the start.
#include "mp3_writer.hpp"

#include <lame/lame.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// LAME's quality scale runs from 0 (best, slowest) to 9. Its default, 5, takes about half the time of
// its "high quality" 2, and the generator shares its time budget with the lightmap bake.
constexpr int encoderQuality = 5;

std::vector<unsigned char> encode(lame_t lame, const PcmBuffer& pcm) {
    const size_t frames = pcm.frames();
    // The buffer bound LAME documents: 1.25 times the samples plus 7200 bytes.
    std::vector<unsigned char> mp3(frames + frames / 4 + 7200);
    int written = 0;
    if (pcm.channels == 2)
        written = lame_encode_buffer_interleaved_ieee_float(
            lame, pcm.samples.data(), static_cast<int>(frames), mp3.data(), static_cast<int>(mp3.size()));
    else
        written =
            lame_encode_buffer_ieee_float(lame, pcm.samples.data(), pcm.samples.data(),
                                          static_cast<int>(frames), mp3.data(), static_cast<int>(mp3.size()));
    if (written < 0)
        return {};
    const int flushed = lame_encode_flush(lame, mp3.data() + written, static_cast<int>(mp3.size()) - written);
    if (flushed < 0)
        return {};
    mp3.resize(static_cast<size_t>(written + flushed));

    unsigned char tag[4096];
    const size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof tag);
    if (tagSize == 0 || tagSize > sizeof tag || tagSize > mp3.size())
        return {};
    std::copy(tag, tag + tagSize, mp3.begin());
    return mp3;
}

} // namespace

bool writeMp3(const std::string& path, const PcmBuffer& pcm, int kbps) {
    if (pcm.channels < 1 || pcm.channels > 2 || pcm.frames() == 0)
        return false;
    lame_t lame = lame_init();
    if (!lame)
        return false;
    lame_set_in_samplerate(lame, audioSampleRate);
    lame_set_out_samplerate(lame, audioSampleRate);
    lame_set_num_channels(lame, pcm.channels);
    lame_set_mode(lame, pcm.channels == 2 ? JOINT_STEREO : MONO);
    lame_set_brate(lame, kbps);
    lame_set_quality(lame, encoderQuality);
    lame_set_bWriteVbrTag(lame, 1);
    std::vector<unsigned char> mp3;
    if (lame_init_params(lame) == 0)
        mp3 = encode(lame, pcm);
    lame_close(lame);
    if (mp3.empty())
        return false;

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(mp3.data(), 1, mp3.size(), file) == mp3.size();
    return std::fclose(file) == 0 && written;
}
