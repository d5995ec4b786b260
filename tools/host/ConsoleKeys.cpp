#include "tools/host/ConsoleKeys.h"

#include <cctype>

ConsoleKeys::ConsoleKeys() {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (input && input != INVALID_HANDLE_VALUE && GetConsoleMode(input, &mode)) input_ = input;
}

bool ConsoleKeys::TakePress(char key) {
    if (!input_) return false;
    bool pressed = false;
    DWORD waiting = 0;
    while (GetNumberOfConsoleInputEvents(input_, &waiting) && waiting > 0) {
        INPUT_RECORD records[16];
        DWORD read = 0;
        if (!ReadConsoleInputA(input_, records, 16, &read) || read == 0) break;
        for (DWORD i = 0; i < read; ++i) {
            const INPUT_RECORD& record = records[i];
            if (record.EventType != KEY_EVENT || !record.Event.KeyEvent.bKeyDown) continue;
            const unsigned char c = static_cast<unsigned char>(record.Event.KeyEvent.uChar.AsciiChar);
            if (std::tolower(c) == std::tolower(static_cast<unsigned char>(key))) pressed = true;
        }
    }
    return pressed;
}
