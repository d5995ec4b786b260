#pragma once
// The meter's pure arithmetic: channel peaks and the stepped brightness mapping.
#include "sdk/WinampVis.h"

namespace meter_detail {

constexpr int kLanes = 16;

inline unsigned char Offset(unsigned char sample) { return static_cast<unsigned char>(sample ^ 0x80); }
inline unsigned char Larger(unsigned char a, unsigned char b) { return a > b ? a : b; }

}  // namespace meter_detail

// Positive peak of one channel over samples 1..575 (sample 0 is not read): -128..127.
// The scan works on offset values (top bit flipped), so a plain unsigned maximum serves. The
// first block is scanned alone (it skips sample 0); the 35 full blocks after it keep sixteen
// independent running maxima, a shape compilers turn into a few wide instructions per block.
inline int ChannelPeak(const unsigned char* row) {
    using namespace meter_detail;
    unsigned char highest = 0;
    for (int i = 1; i < kLanes; ++i) highest = Larger(highest, Offset(row[i]));
    unsigned char lanes[kLanes] = {};
    for (int block = kLanes; block < kWaveformSamples; block += kLanes)
        for (int lane = 0; lane < kLanes; ++lane) lanes[lane] = Larger(lanes[lane], Offset(row[block + lane]));
    for (int lane = 0; lane < kLanes; ++lane) highest = Larger(highest, lanes[lane]);
    return static_cast<int>(highest) - 128;
}

static_assert(kWaveformSamples % meter_detail::kLanes == 0, "the rows split into whole blocks");

// The both-channel value: the mean of the two peaks, truncated toward zero.
inline int BothChannels(int leftPeak, int rightPeak) { return (leftPeak + rightPeak) / 2; }

// The stepped mapping of a value 0..127 to a brightness level 0..100.
inline int MapLevel(int d) {
    int level;
    if (d > 50)
        level = (d / 10) * 10 - 20;
    else if (d > 30)
        level = (d / 10) * 10 - 10;
    else
        level = d;
    return level < 0 ? 0 : level;
}
