// Sample conversion: keeping the top byte is the 8-bit rounding towards minus infinity, the
// same for every input width, so a full-scale input gives a full-scale row.
#include "tools/host/WaveformRows.h"

#include <cstring>

int8_t SampleTo8Bit(const uint8_t* sample, unsigned bitsPerSample) {
    switch (bitsPerSample) {
        case 8: return static_cast<int8_t>(sample[0] ^ 0x80);
        case 16: return static_cast<int8_t>(sample[1]);
        case 24: return static_cast<int8_t>(sample[2]);
        default: return 0;
    }
}

void FillWaveformRows(const WavAudio& audio, size_t firstFrame, unsigned char rows[2][kWaveformSamples]) {
    std::memset(rows, 0, 2 * kWaveformSamples);
    if (firstFrame >= audio.frameCount) return;
    const size_t frames = audio.frameCount - firstFrame < kWaveformSamples ? audio.frameCount - firstFrame
                                                                           : kWaveformSamples;
    const unsigned bytesPerSample = audio.bitsPerSample / 8;
    const unsigned rightOffset = audio.channels > 1 ? bytesPerSample : 0;
    const uint8_t* frame = audio.samples + firstFrame * audio.blockAlign;
    for (size_t i = 0; i < frames; ++i, frame += audio.blockAlign) {
        rows[0][i] = static_cast<unsigned char>(SampleTo8Bit(frame, audio.bitsPerSample));
        rows[1][i] = static_cast<unsigned char>(SampleTo8Bit(frame + rightOffset, audio.bitsPerSample));
    }
}
