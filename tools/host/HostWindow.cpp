#include "tools/host/HostWindow.h"

namespace {

const char kClassName[] = "GlowmeterHostWindow";

ATOM RegisterHostClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc);
}

}  // namespace

HostWindow::HostWindow() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    static const ATOM registered = RegisterHostClass(instance);
    if (!registered) return;
    hwnd_ = CreateWindowExA(0, kClassName, "glowmeter-host", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                            320, 200, nullptr, nullptr, instance, nullptr);
}

HostWindow::~HostWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}
