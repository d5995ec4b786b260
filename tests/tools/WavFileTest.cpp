// Parsing WAV files: the formats the host plays, the chunk layouts real files have, and
// every way a file can be unusable.
#include <gtest/gtest.h>

#include "tools/host/WavFile.h"
#include "tools/host/WaveformRows.h"
#include "tests/tools/WavBytes.h"

using namespace wavbytes;

namespace {

int Constant(size_t, unsigned channel) { return channel == 0 ? 10 : -20; }

TEST(WavFile, ReadsEachPlayableFormat) {
    struct Row { unsigned channels, rate, bits; bool extensible; };
    const Row rows[] = {
        {1, 8000, 8, false}, {2, 11025, 8, false}, {1, 44100, 16, false},
        {2, 22050, 16, false}, {1, 48000, 24, false}, {2, 96000, 24, false}, {2, 44100, 24, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.channels << " ch " << r.rate << " Hz " << r.bits << " bit");
        const Bytes file = Riff({{"fmt ", Format(1, r.channels, r.rate, r.bits, r.extensible)},
                                 {"data", Samples(r.channels, r.bits, 7, Constant)}});
        WavAudio audio;
        ASSERT_EQ(ParseWav(file.data(), file.size(), audio), WavError::None);
        EXPECT_EQ(audio.channels, r.channels);
        EXPECT_EQ(audio.sampleRate, r.rate);
        EXPECT_EQ(audio.bitsPerSample, r.bits);
        EXPECT_EQ(audio.frameCount, 7u);
        EXPECT_EQ(SampleTo8Bit(audio.samples, r.bits), 10);
    }
}

TEST(WavFile, WalksPastOtherChunksAndTheirPadding) {
    // An odd-sized chunk before and between the ones that matter, as tagging tools write.
    const Bytes file = Riff({{"LIST", Bytes(5, 'x')},
                             {"fmt ", Format(1, 2, 22050, 16)},
                             {"fact", Bytes(3, 0)},
                             {"data", Samples(2, 16, 4, Constant)}});
    WavAudio audio;
    ASSERT_EQ(ParseWav(file.data(), file.size(), audio), WavError::None);
    EXPECT_EQ(audio.frameCount, 4u);
    EXPECT_EQ(SampleTo8Bit(audio.samples + 2, 16), -20);
}

TEST(WavFile, PartialLastFrameIsDropped) {
    Bytes data = Samples(2, 16, 3, Constant);
    data.resize(data.size() - 2);  // half of the last frame
    const Bytes file = Riff({{"fmt ", Format(1, 2, 8000, 16)}, {"data", data}});
    WavAudio audio;
    ASSERT_EQ(ParseWav(file.data(), file.size(), audio), WavError::None);
    EXPECT_EQ(audio.frameCount, 2u);
}

// Files that players play although they do not keep every rule: the samples end before the
// data chunk's declared size (a recording cut short, or one written as a stream with the size
// 0xFFFFFFFF), or the last chunk has an odd size and no pad byte.
TEST(WavFile, PlaysWhatAFileCutShortOrUnpaddedHolds) {
    const Bytes pcm = Samples(2, 16, 100, Constant);  // 400 bytes
    Bytes cut = Riff({{"fmt ", Format(1, 2, 8000, 16)}, {"data", pcm}});
    cut.resize(cut.size() - 10);  // 97.5 frames are left
    // Seven frames of 8-bit mono: an odd size, the file ends without the pad byte.
    Bytes oddData = Riff({{"fmt ", Format(1, 1, 8000, 8)}, {"data", Samples(1, 8, 7, Constant)}});
    oddData.pop_back();

    struct Row { const char* what; Bytes file; size_t frames; bool cutShort; };
    const Row rows[] = {
        {"data cut short", cut, 97, true},
        {"streamed, size unknown", Riff({{"fmt ", Format(1, 2, 8000, 16)}, {"data", pcm, 0xFFFFFFFF}}), 100, true},
        {"huge declared size", Riff({{"fmt ", Format(1, 2, 8000, 16)}, {"data", pcm, 0xFFFFFFF0}}), 100, true},
        {"odd data chunk last, unpadded", oddData, 7, false},
    };
    for (const Row& r : rows) {
        WavAudio audio;
        ASSERT_EQ(ParseWav(r.file.data(), r.file.size(), audio), WavError::None) << r.what;
        EXPECT_EQ(audio.frameCount, r.frames) << r.what;
        EXPECT_EQ(audio.dataCutShort, r.cutShort) << r.what;
        EXPECT_EQ(SampleTo8Bit(audio.samples, audio.bitsPerSample), 10) << r.what;
    }
}

TEST(WavFile, UnusableFilesAreToldApart) {
    const Bytes pcm = Samples(2, 16, 100, Constant);
    Bytes noWholeFrame = Riff({{"fmt ", Format(1, 2, 8000, 16)}, {"data", pcm}});
    noWholeFrame.resize(12 + 8 + 16 + 8 + 3);  // three bytes of a four-byte frame
    Bytes cutFormat = Riff({{"fmt ", Format(1, 2, 8000, 16)}});
    cutFormat.resize(cutFormat.size() - 4);
    Bytes cutHeader = Riff({{"fmt ", Format(1, 2, 8000, 16)}, {"data", pcm}});
    cutHeader.resize(12 + 8 + 16 + 4);  // ends inside the data chunk's header
    const Bytes text = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '\n'};

    struct Row { const char* what; Bytes file; WavError error; };
    const Row rows[] = {
        {"empty", {}, WavError::NotRiff},
        {"text", text, WavError::NotRiff},
        {"RIFF of another form", Riff({{"fmt ", Format(1, 2, 8000, 16)}}, "AVI "), WavError::NotRiff},
        {"data cut short of its first frame", noWholeFrame, WavError::Truncated},
        {"format chunk cut short", cutFormat, WavError::Truncated},
        {"chunk header cut short", cutHeader, WavError::Truncated},
        {"data before format", Riff({{"data", pcm}, {"fmt ", Format(1, 2, 8000, 16)}}), WavError::NoFormat},
        {"no data", Riff({{"fmt ", Format(1, 2, 8000, 16)}}), WavError::NoData},
        {"nothing but the header", Riff({}), WavError::NoFormat},
        {"short format", Riff({{"fmt ", Bytes(12, 1)}, {"data", pcm}}), WavError::BadFormat},
        {"zero rate", Riff({{"fmt ", Format(1, 2, 0, 16)}, {"data", pcm}}), WavError::BadFormat},
        {"zero block size", Riff({{"fmt ", [] { Bytes f = Format(1, 2, 8000, 16); f[12] = f[13] = 0; return f; }()},
                                  {"data", pcm}}), WavError::BadFormat},
        {"float", Riff({{"fmt ", Format(3, 2, 8000, 32)}, {"data", pcm}}), WavError::NotPcm},
        {"extensible float", Riff({{"fmt ", Format(3, 2, 8000, 32, true)}, {"data", pcm}}), WavError::NotPcm},
        {"32-bit PCM", Riff({{"fmt ", Format(1, 2, 8000, 32)}, {"data", pcm}}), WavError::UnsupportedBits},
        {"12-bit PCM", Riff({{"fmt ", Format(1, 1, 8000, 12)}, {"data", pcm}}), WavError::UnsupportedBits},
        {"three channels", Riff({{"fmt ", Format(1, 3, 8000, 16)}, {"data", pcm}}), WavError::UnsupportedChannels},
    };
    for (const Row& r : rows) {
        WavAudio audio;
        EXPECT_EQ(ParseWav(r.file.data(), r.file.size(), audio), r.error) << r.what;
        EXPECT_STRNE(WavErrorText(r.error), "") << r.what;
    }
}

TEST(WavFile, DurationFollowsTheRate) {
    const Bytes file = Track(1, 8000, 8, 12000, Constant);
    WavAudio audio;
    ASSERT_EQ(ParseWav(file.data(), file.size(), audio), WavError::None);
    EXPECT_EQ(audio.DurationMs(), 1500u);
}

}  // namespace
