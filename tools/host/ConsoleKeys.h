#pragma once
// Key presses on the host's console, read without waiting, when its input is a console.
#include <windows.h>

class ConsoleKeys {
public:
    ConsoleKeys();
    // The console input to wait on, or null when the input is no console (a pipe, a file).
    HANDLE Handle() const { return input_; }
    // Reads every input event that is waiting; true when `key` (either case) was pressed.
    bool TakePress(char key);

private:
    HANDLE input_ = nullptr;
};
