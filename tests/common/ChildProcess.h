#pragma once
// Runs a program as a child process with its standard output and error captured through
// pipes (never a terminal), and a bounded wait: a child that outlives it is ended.
#include <functional>
#include <string>

struct ChildResult {
    bool started = false;
    bool timedOut = false;
    unsigned long exitCode = 0;
    std::string out;  // standard output
    std::string err;  // standard error
    unsigned long elapsedMs = 0;
};

// The command line and the folder are UTF-8, so any file name can be passed. `whileRunning`,
// when given, is called with the child's process id about every 50 ms until the child ends
// (to find and drive its windows).
ChildResult RunChild(const std::string& commandLine, const std::string& folder, unsigned long timeoutMs,
                     const std::function<void(unsigned long)>& whileRunning = nullptr);
