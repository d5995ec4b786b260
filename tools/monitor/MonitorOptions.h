#pragma once
// The command line of glowmeter-monitor.
#include <string>

struct MonitorOptions {
    unsigned short port = 30000;    // where requests are taken
    int status = 1;                 // status put into every answer
    unsigned delayMs = 0;           // wait this long before each answer
    unsigned dropEvery = 0;         // leave every Nth request unanswered (0: answer all)
    unsigned short replyPort = 0;   // answer from this port (0: from the listening port)
    unsigned long count = 0;        // stop after this many well-formed requests (0: never)
    unsigned seconds = 0;           // stop after this many seconds (0: never)
    bool view = false;              // show the live bars
    std::string csv;                // append every change to this CSV file
    bool help = false;
};

// Fills `options` from the arguments; false with a message in `error` on a bad command line.
bool ParseMonitorOptions(int argc, const char* const* argv, MonitorOptions& options, std::string& error);

// The --help text.
const char* MonitorUsage();
