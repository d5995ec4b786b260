#pragma once
// Parsing a WAV file held in memory: the RIFF/WAVE container with its "fmt " and "data"
// chunks, PCM samples of 8, 16 or 24 bits, one or two channels, any sample rate.
#include <cstddef>
#include <cstdint>

struct WavAudio {
    unsigned channels = 0;       // 1 or 2
    unsigned sampleRate = 0;     // frames per second
    unsigned bitsPerSample = 0;  // 8, 16 or 24
    unsigned blockAlign = 0;     // bytes per frame
    const uint8_t* samples = nullptr;  // first frame, inside the parsed buffer
    size_t frameCount = 0;       // whole frames in the data chunk
    // The data chunk declares more bytes than the file holds (a recording cut short, or one
    // written as a stream, whose size field says 0xFFFFFFFF): the frames that are there are
    // played, and the caller may warn.
    bool dataCutShort = false;

    // Length of the track in milliseconds, rounded down.
    uint64_t DurationMs() const { return sampleRate ? uint64_t(frameCount) * 1000 / sampleRate : 0; }
};

enum class WavError {
    None,
    NotRiff,             // no "RIFF" ... "WAVE" header
    Truncated,           // the file ends inside a chunk header or the "fmt " chunk, or holds no whole
                         // frame of the data chunk it declares
    NoFormat,            // no "fmt " chunk before the "data" chunk
    NoData,              // no "data" chunk
    BadFormat,           // a "fmt " chunk too short, or with zero channels, rate or block size
    NotPcm,              // compressed or floating-point samples
    UnsupportedBits,     // PCM, but not 8, 16 or 24 bits per sample
    UnsupportedChannels, // more than two channels
};

// Parses `size` bytes at `data`. On success `audio` points into `data`, which must outlive it.
WavError ParseWav(const uint8_t* data, size_t size, WavAudio& audio);

// The reason in words, for the user.
const char* WavErrorText(WavError error);
