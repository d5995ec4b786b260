#pragma once
// The host's progress on standard error: one line redrawn in place on a terminal (at most ten
// times a second), or a plain line every five seconds of the track when the output is a file
// or a pipe, and always a last line when the run ends.
#include <windows.h>

#include <cstdint>
#include <string>

class ProgressLine {
public:
    ProgressLine();
    void Update(uint64_t positionMs, uint64_t totalMs, long long frames);
    // The last line, with the time the frames took and their rate, and a line break.
    void Finish(uint64_t positionMs, uint64_t totalMs, long long frames, uint64_t elapsedMs);
    // A line of its own between progress lines (the line in place on a terminal is ended
    // first, and redrawn below it at the next update). UTF-8.
    void Note(const std::string& text);

private:
    void Write(uint64_t positionMs, uint64_t totalMs, long long frames, bool endLine, uint64_t elapsedMs = 0);

    HANDLE err_;
    bool terminal_;
    DWORD writtenAt_ = 0;        // tick of the last redraw on a terminal
    uint64_t nextPlainMs_ = 0;   // track position of the next plain line
    bool started_ = false;
};
