#include "tools/host/HostOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char kHostUsage[] =
    "usage: glowmeter-host [options] [plugin.dll] track.wav\n"
    "  Plays a WAV file (PCM 8, 16 or 24-bit, mono or stereo) into a Winamp visualization\n"
    "  plug-in, by default vis_glowmeter.dll beside this program.\n"
    "options:\n"
    "  --plugin PATH  the plug-in DLL to load\n"
    "  --module N     run module N (default 0)\n"
    "  --list         list the plug-in's modules and stop\n"
    "  --config       open the module's settings dialog and stop\n"
    "  --config-at S  open the settings when the track reaches S seconds (also: press c)\n"
    "  --fast         render as fast as possible instead of in real time\n"
    "  --frames N     stop after N frames\n"
    "  --help         show this text\n";

namespace {

bool EndsWithDll(const char* text) {
    const size_t n = std::strlen(text);
    if (n < 4) return false;
    const char* tail = text + n - 4;
    return tail[0] == '.' && (tail[1] | 0x20) == 'd' && (tail[2] | 0x20) == 'l' && (tail[3] | 0x20) == 'l';
}

// A whole decimal number from 0 to `limit`.
bool ReadCount(const char* text, long long limit, long long& value) {
    if (!text || *text < '0' || *text > '9') return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || v > limit) return false;
    value = v;
    return true;
}

// Seconds as a whole or decimal number (2, 2.5), to the millisecond.
bool ReadSeconds(const char* text, long long& ms) {
    if (!text || *text < '0' || *text > '9') return false;
    char* end = nullptr;
    errno = 0;
    const double seconds = std::strtod(text, &end);
    if (errno != 0 || *end != '\0' || seconds > 1e9) return false;
    ms = static_cast<long long>(seconds * 1000.0 + 0.5);
    return true;
}

bool Fail(std::string& error, const std::string& reason) {
    error = reason;
    return false;
}

}  // namespace

bool ParseHostOptions(int argc, const char* const* argv, HostOptions& options, std::string& error) {
    options = HostOptions{};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        long long number = 0;
        if (arg == "--fast") {
            options.fast = true;
        } else if (arg == "--list") {
            options.list = true;
        } else if (arg == "--config") {
            options.config = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--plugin") {
            if (!next) return Fail(error, "--plugin needs a path");
            options.plugin = argv[++i];
        } else if (arg == "--module") {
            if (!ReadCount(next, 1000000, number)) return Fail(error, "--module needs a module number (0, 1, ...)");
            options.module = static_cast<int>(number);
            ++i;
        } else if (arg == "--config-at") {
            if (!ReadSeconds(next, options.configAtMs)) return Fail(error, "--config-at needs a time in seconds");
            ++i;
        } else if (arg == "--frames") {
            if (!ReadCount(next, 1000000000000LL, number)) return Fail(error, "--frames needs a frame count");
            options.maxFrames = number;
            ++i;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Fail(error, "unknown option " + arg);
        } else if (EndsWithDll(argv[i]) && options.plugin.empty()) {
            options.plugin = arg;
        } else if (options.track.empty()) {
            options.track = arg;
        } else {
            return Fail(error, "more than one track given (" + options.track + ", " + arg + ")");
        }
    }
    if (!options.help && !options.list && !options.config && options.track.empty())
        return Fail(error, "no track given");
    return true;
}
