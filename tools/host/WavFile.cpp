// The RIFF walk: chunk by chunk, each padded to an even length, trusting no size field
// further than the bytes that are really there. The sample data may end early: what is
// there plays.
#include "tools/host/WavFile.h"

#include <cstring>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr size_t kChunkHeader = 8;
constexpr size_t kPlainFormatSize = 16;
constexpr size_t kExtensibleFormatSize = 40;
constexpr size_t kSubFormatOffset = 24;

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Read32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
bool IsTag(const uint8_t* p, const char* tag) { return std::memcmp(p, tag, 4) == 0; }

// The sample format of a "fmt " chunk: its fields go straight into `audio`.
WavError ParseFormat(const uint8_t* body, size_t size, WavAudio& audio) {
    if (size < kPlainFormatSize) return WavError::BadFormat;
    uint16_t format = Read16(body);
    audio.channels = Read16(body + 2);
    audio.sampleRate = Read32(body + 4);
    audio.blockAlign = Read16(body + 12);
    audio.bitsPerSample = Read16(body + 14);
    if (format == kFormatExtensible) {
        // The real format is the first word of the sub-format identifier.
        if (size < kExtensibleFormatSize) return WavError::BadFormat;
        format = Read16(body + kSubFormatOffset);
    }
    if (format != kFormatPcm) return WavError::NotPcm;
    if (audio.channels == 0 || audio.sampleRate == 0) return WavError::BadFormat;
    if (audio.bitsPerSample != 8 && audio.bitsPerSample != 16 && audio.bitsPerSample != 24)
        return WavError::UnsupportedBits;
    if (audio.channels > 2) return WavError::UnsupportedChannels;
    if (audio.blockAlign < audio.channels * (audio.bitsPerSample / 8)) return WavError::BadFormat;
    return WavError::None;
}

}  // namespace

WavError ParseWav(const uint8_t* data, size_t size, WavAudio& audio) {
    audio = WavAudio{};
    if (size < 12 || !IsTag(data, "RIFF") || !IsTag(data + 8, "WAVE")) return WavError::NotRiff;

    bool haveFormat = false;
    size_t at = 12;
    while (at < size) {
        if (size - at < kChunkHeader) return WavError::Truncated;
        const uint8_t* header = data + at;
        const size_t chunkSize = Read32(header + 4);
        const size_t available = size - at - kChunkHeader;
        const uint8_t* body = header + kChunkHeader;

        if (IsTag(header, "data")) {
            if (!haveFormat) return WavError::NoFormat;
            // Players play what a file cut short holds; so does the host, unless that is nothing.
            audio.dataCutShort = chunkSize > available;
            audio.samples = body;
            audio.frameCount = (audio.dataCutShort ? available : chunkSize) / audio.blockAlign;
            if (audio.dataCutShort && audio.frameCount == 0) return WavError::Truncated;
            return WavError::None;
        }
        if (chunkSize > available) return WavError::Truncated;
        if (IsTag(header, "fmt ")) {
            const WavError error = ParseFormat(body, chunkSize, audio);
            if (error != WavError::None) return error;
            haveFormat = true;
        }
        // Chunks are padded to an even length; a missing pad byte at the very end is harmless.
        const size_t step = kChunkHeader + chunkSize + (chunkSize & 1);
        at += step <= size - at ? step : size - at;
    }
    return haveFormat ? WavError::NoData : WavError::NoFormat;
}

const char* WavErrorText(WavError error) {
    switch (error) {
        case WavError::None: return "no error";
        case WavError::NotRiff: return "not a WAV file (no RIFF/WAVE header)";
        case WavError::Truncated: return "the file is truncated";
        case WavError::NoFormat: return "no \"fmt \" chunk before the samples";
        case WavError::NoData: return "no \"data\" chunk";
        case WavError::BadFormat: return "the \"fmt \" chunk is damaged";
        case WavError::NotPcm: return "the samples are not PCM (compressed or floating point)";
        case WavError::UnsupportedBits: return "only 8, 16 and 24-bit samples are played";
        case WavError::UnsupportedChannels: return "only mono and stereo files are played";
    }
    return "unknown error";
}
