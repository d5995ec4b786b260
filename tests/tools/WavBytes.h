#pragma once
// WAV files built in memory for the tests: any chunk layout, including broken ones, and
// PCM tracks whose samples are given as signed 8-bit values widened to the file's width.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace wavbytes {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline void PutTag(Bytes& b, const std::string& tag) {
    for (size_t i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(i < tag.size() ? tag[i] : ' '));
}

struct Chunk {
    std::string tag;
    Bytes body;
    int64_t declaredSize = -1;  // size written in the header; -1: the body's real size
};

// "RIFF" <size> "WAVE" and the chunks, each padded to an even length.
inline Bytes Riff(const std::vector<Chunk>& chunks, const char* form = "WAVE") {
    Bytes b;
    PutTag(b, "RIFF");
    Put32(b, 0);
    PutTag(b, form);
    for (const Chunk& c : chunks) {
        PutTag(b, c.tag);
        Put32(b, static_cast<uint32_t>(c.declaredSize >= 0 ? c.declaredSize : int64_t(c.body.size())));
        b.insert(b.end(), c.body.begin(), c.body.end());
        if (c.body.size() & 1) b.push_back(0);
    }
    const uint32_t riffSize = static_cast<uint32_t>(b.size() - 8);
    for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<uint8_t>(riffSize >> (8 * i));
    return b;
}

// A "fmt " chunk body; `extensible` writes the 40-byte form with `format` as sub-format.
inline Bytes Format(unsigned format, unsigned channels, unsigned rate, unsigned bits, bool extensible = false) {
    Bytes b;
    const unsigned align = channels * ((bits + 7) / 8);
    Put16(b, extensible ? 0xFFFE : format);
    Put16(b, channels);
    Put32(b, rate);
    Put32(b, rate * align);
    Put16(b, align);
    Put16(b, bits);
    if (extensible) {
        Put16(b, 22);
        Put16(b, bits);
        Put32(b, channels == 1 ? 0x4 : 0x3);
        Put16(b, format);
        static const uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        b.insert(b.end(), kGuidTail, kGuidTail + 14);
    }
    return b;
}

// Sample data: `value(frame, channel)` is the signed 8-bit value the host should see; wider
// samples carry it in their top byte and `lowBits` below it.
inline Bytes Samples(unsigned channels, unsigned bits, size_t frames, const std::function<int(size_t, unsigned)>& value,
                     uint32_t lowBits = 0) {
    Bytes b;
    for (size_t f = 0; f < frames; ++f) {
        for (unsigned c = 0; c < channels; ++c) {
            const int v = value(f, c);
            if (bits == 8) {
                b.push_back(static_cast<uint8_t>(v + 128));
            } else if (bits == 16) {
                Put16(b, (static_cast<unsigned>(v) << 8 | (lowBits & 0xFF)) & 0xFFFF);
            } else {
                const uint32_t s = static_cast<uint32_t>(v) << 16 | (lowBits & 0xFFFF);
                b.push_back(static_cast<uint8_t>(s));
                b.push_back(static_cast<uint8_t>(s >> 8));
                b.push_back(static_cast<uint8_t>(s >> 16));
            }
        }
    }
    return b;
}

// A complete PCM track.
inline Bytes Track(unsigned channels, unsigned rate, unsigned bits, size_t frames,
                   const std::function<int(size_t, unsigned)>& value, uint32_t lowBits = 0) {
    return Riff({{"fmt ", Format(1, channels, rate, bits)}, {"data", Samples(channels, bits, frames, value, lowBits)}});
}

}  // namespace wavbytes
