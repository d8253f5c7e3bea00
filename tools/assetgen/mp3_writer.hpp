// Encodes synthesised sound to MP3 with libmp3lame, with the LAME tag that lets decoders drop the
// encoder's delay and padding, so a loop decodes to exactly the samples it was made of.
#pragma once

#include "audio_dsp.hpp"

#include <string>

// Constant bit rate in kbit/s; 1 or 2 channels at 44.1 kHz. False when encoding or writing failed.
bool writeMp3(const std::string& path, const PcmBuffer& pcm, int kbps);
