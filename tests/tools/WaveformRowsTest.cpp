// The waveform rows the host hands the plug-in: each sample width turned into signed 8-bit
// values, mono on both rows, and the rows taken from the playing position on.
#include <gtest/gtest.h>

#include "tools/host/WaveformRows.h"
#include "tests/tools/WavBytes.h"

using namespace wavbytes;

namespace {

TEST(WaveformRows, SamplesKeepTheirTopByte) {
    struct Row { unsigned bits; Bytes sample; int expected; };
    const Row rows[] = {
        {8, {0x80}, 0},          {8, {0xFF}, 127},         {8, {0x00}, -128},       {8, {0x7F}, -1},
        {16, {0x00, 0x00}, 0},   {16, {0xFF, 0x7F}, 127},  {16, {0x00, 0x80}, -128},
        {16, {0xCC, 0x63}, 99},  // 99.8 in 8-bit terms: cut, not rounded up to 100
        {16, {0xFF, 0xFF}, -1},
        {24, {0xFF, 0xCC, 0x63}, 99}, {24, {0x00, 0x00, 0x80}, -128}, {24, {0x01, 0x00, 0x00}, 0},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(SampleTo8Bit(r.sample.data(), r.bits), r.expected)
            << r.bits << "-bit sample " << int(r.sample.back());
    }
}

class Rows : public ::testing::Test {
protected:
    void Load(const Bytes& file) {
        file_ = file;
        ASSERT_EQ(ParseWav(file_.data(), file_.size(), audio_), WavError::None);
    }
    int At(int row, size_t i) const { return static_cast<signed char>(rows_[row][i]); }

    Bytes file_;
    WavAudio audio_;
    unsigned char rows_[2][kWaveformSamples];
};

TEST_F(Rows, StereoFillsLeftAndRightFromThePosition) {
    // Left counts the frame number, right runs the other way, so each row shows its source.
    Load(Track(2, 8000, 16, 1000, [](size_t f, unsigned c) { return c == 0 ? int(f % 100) : -int(f % 100); }));
    FillWaveformRows(audio_, 250, rows_);
    EXPECT_EQ(At(0, 0), 50);
    EXPECT_EQ(At(1, 0), -50);
    EXPECT_EQ(At(0, 575), (250 + 575) % 100);
    EXPECT_EQ(At(1, 575), -((250 + 575) % 100));
}

TEST_F(Rows, MonoFeedsBothRows) {
    Load(Track(1, 11025, 24, 600, [](size_t f, unsigned) { return int(f % 120); }));
    FillWaveformRows(audio_, 3, rows_);
    for (size_t i = 0; i < kWaveformSamples; ++i) {
        ASSERT_EQ(At(0, i), int((i + 3) % 120)) << i;
        ASSERT_EQ(At(1, i), At(0, i)) << i;
    }
}

TEST_F(Rows, PastTheEndIsSilence) {
    Load(Track(2, 8000, 8, 100, [](size_t, unsigned) { return 77; }));
    FillWaveformRows(audio_, 90, rows_);
    EXPECT_EQ(At(0, 9), 77);
    EXPECT_EQ(At(1, 9), 77);
    EXPECT_EQ(At(0, 10), 0);
    EXPECT_EQ(At(1, 575), 0);
    FillWaveformRows(audio_, 100, rows_);  // a position at or after the end: all silence
    for (size_t i = 0; i < kWaveformSamples; ++i) ASSERT_EQ(At(0, i) | At(1, i), 0) << i;
}

}  // namespace
