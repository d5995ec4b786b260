// The live view of the lights. Every reported change updates a fixed table (LightBoard);
// with GLOWMETER_VIEW set the table is shown on standard output, with GLOWMETER_CSV set every
// change is appended to a CSV file. The environment is read once, at the first report.
//
// On a terminal (a console, which is also what Wine gives a program whose output is a unix
// tty) a thread of the view redraws the bars in place with ANSI cursor movement, 25 times a
// second when something changed, so every reported change costs only a table update and the
// bars show the levels as they settled, not the first change of a burst. The block is drawn
// upwards from the line the cursor is on, which a host's progress line may hold.
// When the output is a file or a pipe each light gets a plain line when its level changed,
// at most one line per light every 100 ms, so a fast run stays readable; when the process
// ends, the latest levels that interval held back are printed once more.
#include "tools/common/LightView.h"

#include <windows.h>

#include "tools/common/ConsoleText.h"
#include "tools/common/LightBoard.h"
#include "tools/common/Utf8Text.h"

#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif

namespace {

constexpr DWORD kRedrawIntervalMs = 40;
constexpr DWORD kPathSize = 1024;
constexpr int kLineSize = 96;

enum class Screen { Off, Terminal, Lines };

class LightView {
public:
    LightView() { InitializeCriticalSection(&lock_); }

    // Shows what the limits held back. Only tried: a thread that ended while holding the lock
    // (process exit) must not hang the exit. The lock itself is kept, as another thread of
    // an exiting program may still report.
    ~LightView() {
        if (!TryEnterCriticalSection(&lock_)) return;
        if (configured_ && !finished_) Finish();
        finished_ = true;
        LeaveCriticalSection(&lock_);
    }

    void Changed(unsigned display, unsigned gpu, int attribute, unsigned level) {
        EnterCriticalSection(&lock_);
        if (!configured_) Configure();
        if (!finished_ && (screen_ != Screen::Off || csv_ != INVALID_HANDLE_VALUE)) {
            const long long now = NowMs();
            if (csv_ != INVALID_HANDLE_VALUE) WriteCsv(now, display, gpu, attribute, level);
            if (screen_ != Screen::Off) Show(now, board_.Update(display, gpu, attribute, level));
        }
        LeaveCriticalSection(&lock_);
    }

private:
    void Configure() {
        configured_ = true;
        LARGE_INTEGER f, c;
        QueryPerformanceFrequency(&f);
        QueryPerformanceCounter(&c);
        frequency_ = f.QuadPart;
        start_ = c.QuadPart;

        // Wide, so the CSV file's name may be anything.
        wchar_t value[kPathSize];
        const DWORD viewLength = GetEnvironmentVariableW(L"GLOWMETER_VIEW", value, kPathSize);
        if (viewLength > 0 && viewLength < kPathSize && !(value[0] == L'0' && value[1] == L'\0')) {
            out_ = GetStdHandle(STD_OUTPUT_HANDLE);
            screen_ = IsTerminal(out_) ? Screen::Terminal : Screen::Lines;
            if (screen_ == Screen::Terminal) StartRedrawThread();
        }
        const DWORD csvLength = GetEnvironmentVariableW(L"GLOWMETER_CSV", value, kPathSize);
        if (csvLength > 0 && csvLength < kPathSize) OpenCsv(value);
    }

    // A console that takes ANSI sequences. Under Wine a unix tty shows as such a console; a
    // console that refuses the sequences gets plain lines.
    static bool IsTerminal(HANDLE out) {
        DWORD mode = 0;
        if (out == nullptr || out == INVALID_HANDLE_VALUE) return false;
        if (GetFileType(out) != FILE_TYPE_CHAR || !GetConsoleMode(out, &mode)) return false;
        return (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
               SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
    }

    void OpenCsv(const wchar_t* path) {
        csv_ = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (csv_ == INVALID_HANDLE_VALUE) {
            WriteText(StdStream::Err, "light view: cannot open the CSV file \"" + Utf8FromWide(path) + "\"\n");
            return;
        }
        LARGE_INTEGER size = {};
        if (GetFileSizeEx(csv_, &size) && size.QuadPart == 0) {
            static const char kHeader[] = "time_ms,display,gpu,attribute,level\n";
            Write(csv_, kHeader, sizeof kHeader - 1);
        }
    }

    void WriteCsv(long long now, unsigned display, unsigned gpu, int attribute, unsigned level) {
        char line[kLineSize];
        const int n = LightBoard::FormatCsv(now, display, gpu, attribute, level, line, sizeof line);
        Write(csv_, line, n);
    }

    void Show(long long now, int index) {
        if (index < 0) return;
        if (screen_ == Screen::Lines) {
            if (board_.TakePlainLine(index, now)) PrintLine(now, index);
            return;
        }
        dirty_ = true;
    }

    void StartRedrawThread() {
        HANDLE thread = CreateThread(nullptr, 0, RedrawLoop, this, 0, nullptr);
        if (thread) {
            CloseHandle(thread);
        } else {
            screen_ = Screen::Lines;  // no thread, no redraws: plain lines still show the lights
        }
    }

    static DWORD WINAPI RedrawLoop(void* self) {
        LightView& view = *static_cast<LightView*>(self);
        for (;;) {
            Sleep(kRedrawIntervalMs);
            EnterCriticalSection(&view.lock_);
            const bool finished = view.finished_;
            if (!finished && view.dirty_) view.Redraw();
            LeaveCriticalSection(&view.lock_);
            if (finished) return 0;
        }
    }

    void PrintLine(long long now, int index) {
        char line[kLineSize];
        int n = wsprintfA(line, "%8u ms  ", static_cast<unsigned>(now));
        n += LightBoard::FormatBar(board_.At(index), line + n, sizeof line - n - 2);
        line[n++] = '\r';
        line[n++] = '\n';
        Write(out_, line, n);
    }

    // Moves to the top of the block drawn before (or clears the line the cursor is on, which
    // a host's progress line may hold) and writes every bar, each on a line of its own.
    void Redraw() {
        int n = drawnLines_ > 0 ? wsprintfA(block_, "\r\x1b[%dA", drawnLines_) : wsprintfA(block_, "\r\x1b[K");
        for (int i = 0; i < board_.Count(); ++i) {
            n += LightBoard::FormatBar(board_.At(i), block_ + n, kLineSize);
            const char kEnd[] = "\x1b[K\n";
            for (const char* p = kEnd; *p; ++p) block_[n++] = *p;
        }
        Write(out_, block_, n);
        board_.ResetPeaks();
        drawnLines_ = board_.Count();
        dirty_ = false;
    }

    // The terminal block is not redrawn here: by now a host may have ended its progress line,
    // and the block would be drawn one line off. It is at most one redraw interval behind.
    void Finish() {
        const long long now = NowMs();
        if (screen_ == Screen::Lines) {
            for (int i = 0; i < board_.Count(); ++i) {
                if (board_.TakePendingLine(i, now)) PrintLine(now, i);
            }
        }
        if (csv_ != INVALID_HANDLE_VALUE) CloseHandle(csv_);
        csv_ = INVALID_HANDLE_VALUE;
    }

    long long NowMs() const {
        LARGE_INTEGER c;
        QueryPerformanceCounter(&c);
        return (c.QuadPart - start_) * 1000 / frequency_;
    }

    static void Write(HANDLE h, const char* text, int length) {
        DWORD written = 0;
        if (length > 0) WriteFile(h, text, static_cast<DWORD>(length), &written, nullptr);
    }

    CRITICAL_SECTION lock_;
    bool configured_ = false;
    bool finished_ = false;
    Screen screen_ = Screen::Off;
    HANDLE out_ = INVALID_HANDLE_VALUE;
    HANDLE csv_ = INVALID_HANDLE_VALUE;
    long long frequency_ = 1;
    long long start_ = 0;
    LightBoard board_;
    int drawnLines_ = 0;
    bool dirty_ = false;
    // One redraw: a cursor move, then every bar with its line ending.
    char block_[16 + LightBoard::kCapacity * (kLineSize + 8)];
};

LightView g_View;

}  // namespace

void LightView_Changed(unsigned display, unsigned gpu, int attribute, unsigned level) {
    g_View.Changed(display, gpu, attribute, level);
}
