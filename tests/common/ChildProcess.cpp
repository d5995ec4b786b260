#include "tests/common/ChildProcess.h"

#include <windows.h>


#include "tools/common/Utf8Text.h"

namespace {

// Collects a pipe's output on a thread of its own, so a child filling one pipe while the
// test reads the other can never block.
struct PipeReader {
    HANDLE read = nullptr;
    std::string text;
    static DWORD WINAPI Run(void* self) {
        PipeReader& r = *static_cast<PipeReader*>(self);
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(r.read, chunk, sizeof chunk, &got, nullptr) && got > 0) r.text.append(chunk, got);
        return 0;
    }
};

bool MakePipe(HANDLE& read, HANDLE& write) {
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    if (!CreatePipe(&read, &write, &sa, 0)) return false;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    return true;
}

}  // namespace

ChildResult RunChild(const std::string& commandLine, const std::string& folder, unsigned long timeoutMs,
                     const std::function<void(unsigned long)>& whileRunning) {
    ChildResult result;
    PipeReader out, err;
    HANDLE outWrite = nullptr, errWrite = nullptr;
    if (!MakePipe(out.read, outWrite) || !MakePipe(err.read, errWrite)) return result;

    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = INVALID_HANDLE_VALUE;
    si.hStdOutput = outWrite;
    si.hStdError = errWrite;
    PROCESS_INFORMATION pi = {};
    std::wstring line = WideFromUtf8(commandLine);
    const std::wstring wideFolder = WideFromUtf8(folder);
    const DWORD start = GetTickCount();
    result.started = CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                    folder.empty() ? nullptr : wideFolder.c_str(), &si, &pi) != 0;
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (result.started) {
        HANDLE readers[2] = {CreateThread(nullptr, 0, PipeReader::Run, &out, 0, nullptr),
                             CreateThread(nullptr, 0, PipeReader::Run, &err, 0, nullptr)};
        DWORD waited = WAIT_TIMEOUT;
        for (;;) {
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= timeoutMs) break;
            const DWORD left = timeoutMs - elapsed;
            waited = WaitForSingleObject(pi.hProcess, whileRunning && left > 50 ? 50 : left);
            if (waited != WAIT_TIMEOUT) break;
            if (whileRunning) whileRunning(pi.dwProcessId);
        }
        if (waited != WAIT_OBJECT_0) {
            result.timedOut = true;
            TerminateProcess(pi.hProcess, 999);
            WaitForSingleObject(pi.hProcess, 5000);
        }
        result.elapsedMs = GetTickCount() - start;
        GetExitCodeProcess(pi.hProcess, &result.exitCode);
        // The pipes end when the child and everything it started are gone.
        WaitForMultipleObjects(2, readers, TRUE, 10000);
        CloseHandle(readers[0]);
        CloseHandle(readers[1]);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(out.read);
    CloseHandle(err.read);
    result.out = out.text;
    result.err = err.text;
    return result;
}
