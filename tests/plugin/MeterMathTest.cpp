// The peak scan on its own: every sample from 1 to 575 can carry the peak, sample 0 never.
#include <gtest/gtest.h>

#include <cstring>

#include "plugin/MeterMath.h"

namespace {

TEST(ChannelPeak, EverySampleButTheFirstCanCarryThePeak) {
    unsigned char row[kWaveformSamples];
    for (int at = 0; at < kWaveformSamples; ++at) {
        std::memset(row, static_cast<unsigned char>(-100), sizeof(row));
        row[at] = 77;
        EXPECT_EQ(ChannelPeak(row), at == 0 ? -100 : 77) << "peak at sample " << at;
    }
    std::memset(row, 0x80, sizeof(row));  // every sample -128
    EXPECT_EQ(ChannelPeak(row), -128);
    row[575] = 127;
    EXPECT_EQ(ChannelPeak(row), 127);
}

}  // namespace
