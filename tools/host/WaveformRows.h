#pragma once
// The waveform a visualization plug-in receives each frame: 576 signed 8-bit samples per
// channel, row 0 the left channel and row 1 the right, taken from the playing position on.
#include <cstddef>
#include <cstdint>

#include "sdk/WinampVis.h"
#include "tools/host/WavFile.h"


// One PCM sample as a signed 8-bit value: its most significant byte. 8-bit WAV samples are
// unsigned around 128; 16 and 24-bit ones are signed little-endian.
int8_t SampleTo8Bit(const uint8_t* sample, unsigned bitsPerSample);

// Fills both rows from frame `firstFrame` on; a mono track feeds both rows, and frames past
// the end of the track are silence (0).
void FillWaveformRows(const WavAudio& audio, size_t firstFrame, unsigned char rows[2][kWaveformSamples]);
