#pragma once
// Captures what the code under test sends to the debugger output. OutputDebugStringA raises
// the exception DBG_PRINTEXCEPTION_C with the text's length and address before handing the
// text to a debugger; a vectored handler sees it first and lets it go on unchanged.
#include <windows.h>

#include <string>
#include <vector>

class TraceCapture {
public:
    TraceCapture() {
        lines().clear();
        handler_ = AddVectoredExceptionHandler(1, &TraceCapture::OnException);
    }
    ~TraceCapture() { RemoveVectoredExceptionHandler(handler_); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    const std::vector<std::string>& Lines() const { return lines(); }

private:
    static constexpr DWORD kDebugPrint = 0x40010006;  // DBG_PRINTEXCEPTION_C

    static std::vector<std::string>& lines() {
        static std::vector<std::string> captured;
        return captured;
    }

    static LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
        const EXCEPTION_RECORD* record = info->ExceptionRecord;
        if (record->ExceptionCode == kDebugPrint && record->NumberParameters >= 2) {
            // Parameters: the length including the terminator, then the text.
            const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
            size_t length = static_cast<size_t>(record->ExceptionInformation[0]);
            if (text && length > 0) lines().emplace_back(text, length - 1);
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }

    PVOID handler_;
};
