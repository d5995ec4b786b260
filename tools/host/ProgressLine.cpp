#include "tools/host/ProgressLine.h"

#include "tools/common/ConsoleText.h"
#include "tools/host/ProgressText.h"

namespace {

constexpr DWORD kRedrawMs = 100;
constexpr uint64_t kPlainEveryMs = 5000;
// The line is padded to a fixed width, so a shorter text fully covers a longer one before it.
constexpr int kLineWidth = 60;

}  // namespace

ProgressLine::ProgressLine() : err_(GetStdHandle(STD_ERROR_HANDLE)), terminal_(IsConsole(err_)) {}

void ProgressLine::Update(uint64_t positionMs, uint64_t totalMs, long long frames) {
    if (terminal_) {
        const DWORD now = GetTickCount();
        if (started_ && now - writtenAt_ < kRedrawMs) return;
        writtenAt_ = now;
        Write(positionMs, totalMs, frames, false);
    } else if (!started_ || positionMs >= nextPlainMs_) {
        nextPlainMs_ = positionMs - positionMs % kPlainEveryMs + kPlainEveryMs;
        Write(positionMs, totalMs, frames, true);
    }
    started_ = true;
}

void ProgressLine::Finish(uint64_t positionMs, uint64_t totalMs, long long frames, uint64_t elapsedMs) {
    Write(positionMs, totalMs, frames, true, elapsedMs);
}

void ProgressLine::Note(const std::string& text) {
    DWORD written = 0;
    if (terminal_ && started_) WriteFile(err_, "\r\n", 2, &written, nullptr);
    WriteText(StdStream::Err, text + "\n");
}

void ProgressLine::Write(uint64_t positionMs, uint64_t totalMs, long long frames, bool endLine, uint64_t elapsedMs) {
    char line[160];
    const int room = static_cast<int>(sizeof line) - 3;  // kept for the line break
    int n = 0;
    if (terminal_) line[n++] = '\r';
    n += FormatProgress(line + n, room - n, positionMs, totalMs, frames);
    if (n < room && elapsedMs) n += FormatRate(line + n, room - n, frames, elapsedMs);
    if (n > room) n = room;
    while (terminal_ && n < kLineWidth) line[n++] = ' ';
    if (endLine) {
        line[n++] = '\r';
        line[n++] = '\n';
    }
    DWORD written = 0;
    WriteFile(err_, line, static_cast<DWORD>(n), &written, nullptr);
}
