#pragma once
// The meter's pure arithmetic: channel peaks and the stepped brightness mapping.

constexpr int kWaveformSamples = 576;

// Positive peak of one channel over samples 1..575 (sample 0 is not read): -128..127.
// The scan works on offset values (top bit flipped), so a plain unsigned maximum serves.
inline int ChannelPeak(const unsigned char* row) {
    unsigned char highest = 0;
    for (int i = 1; i < kWaveformSamples; ++i) {
        const unsigned char offset = static_cast<unsigned char>(row[i] ^ 0x80);
        if (offset > highest) highest = offset;
    }
    return static_cast<int>(highest) - 128;
}

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
