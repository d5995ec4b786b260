#include "tools/monitor/MonitorOptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// A whole decimal number within [low, high]; nothing else is accepted.
bool ParseNumber(const char* text, long long low, long long high, long long& value) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

}  // namespace

const char* MonitorUsage() {
    return "usage: glowmeter-monitor [options]\n"
           "The local illumination service of Glowmeter's diagnostic path (\"Debug=1\").\n"
           "Listens on 127.0.0.1 UDP, answers each 24-byte request with the same datagram and\n"
           "status 1, and counts datagrams that are not requests (wrong length, command other\n"
           "than 3, attribute other than 0 or 1, level outside 0..100) without answering them.\n"
           "\n"
           "  --port P        listen on port P (default 30000)\n"
           "  --status N      answer with status N (1 means done; anything else makes the\n"
           "                  plug-in fall back to the driver)\n"
           "  --delay MS      wait MS milliseconds before each answer\n"
           "  --drop N        leave every Nth request unanswered (N >= 1; 1 drops all)\n"
           "  --reply-port P  answer from port P instead of the listening port\n"
           "  --count N       stop after N well-formed requests\n"
           "  --seconds S     stop after S seconds\n"
           "  --view          show a live bar per display, GPU and light\n"
           "  --csv FILE      append every change with a timestamp to FILE\n"
           "  --help          show this text\n"
           "\n"
           "Ctrl+C stops the monitor; it prints its counts when it stops.\n";
}

bool ParseMonitorOptions(int argc, const char* const* argv, MonitorOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const char* name = argv[i];
        if (std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0) {
            options.help = true;
            continue;
        }
        if (std::strcmp(name, "--view") == 0) {
            options.view = true;
            continue;
        }
        struct Numeric { const char* name; long long low, high; };
        static const Numeric numerics[] = {
            {"--port", 1, 65535},          {"--status", -2147483647LL - 1, 2147483647},
            {"--delay", 0, 60000},         {"--drop", 1, 1000000000},
            {"--reply-port", 1, 65535},    {"--count", 1, 4000000000LL},
            {"--seconds", 1, 86400 * 365},
        };
        const bool isCsv = std::strcmp(name, "--csv") == 0;
        const Numeric* numeric = nullptr;
        for (const Numeric& candidate : numerics) {
            if (std::strcmp(name, candidate.name) == 0) numeric = &candidate;
        }
        if (!isCsv && !numeric) {
            error = std::string("unknown option ") + name;
            return false;
        }
        if (i + 1 >= argc) {
            error = std::string(name) + " needs a value";
            return false;
        }
        const char* text = argv[++i];
        if (isCsv) {
            options.csv = text;
            continue;
        }
        long long value = 0;
        if (!ParseNumber(text, numeric->low, numeric->high, value)) {
            error = std::string("bad value for ") + name + ": " + text;
            return false;
        }
        const std::string option = name;
        if (option == "--port") options.port = static_cast<unsigned short>(value);
        else if (option == "--status") options.status = static_cast<int>(value);
        else if (option == "--delay") options.delayMs = static_cast<unsigned>(value);
        else if (option == "--drop") options.dropEvery = static_cast<unsigned>(value);
        else if (option == "--reply-port") options.replyPort = static_cast<unsigned short>(value);
        else if (option == "--count") options.count = static_cast<unsigned long>(value);
        else options.seconds = static_cast<unsigned>(value);
    }
    return true;
}
