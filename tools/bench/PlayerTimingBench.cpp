// When the HALOSEQ player hears from the plug-in, on the real clock and the real one-second
// timer, with PlayerWait 5: frames are rendered every 50 ms for a second, then stop; the
// program reports how long after the last frame the resume request arrived (expected: more
// than 5 s, at most about 6 s), and how long after frames came back the pause request arrived
// (expected: at most about 1 s). A real window of class "HALOSEQ_CLASS" in a thread of its own
// receives the requests.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "plugin/Lifecycle.h"
#include "plugin/Render.h"
#include "support/ModulePath.h"
#include "tools/common/PlayerWindow.h"

namespace {

constexpr int kCycles = 3;
constexpr UINT kPause = 32772;
constexpr UINT kResume = 32771;

std::string SettingsPath() {
    char path[MAX_PATH] = "";
    PathBesideModule(nullptr, "vis_glowmeter.ini", path, sizeof path);
    return path;
}

// Pumps this thread's messages until the player has received `count` messages; returns the
// arrival tick of the last one, or 0 when it did not come within `timeoutMs`.
DWORD AwaitMessage(haloseq::PlayerWindow& player, size_t count, UINT expected, DWORD timeoutMs) {
    haloseq::PumpUntil(timeoutMs, [&] { return player.Count() >= count; });
    const auto messages = player.Messages();
    if (messages.size() < count || messages[count - 1].message != expected) return 0;
    return messages[count - 1].arrivedAt;
}

}  // namespace

int main() {
    const std::string settings = SettingsPath();
    WritePrivateProfileStringA("GLOBAL", "Debug", "0", settings.c_str());
    WritePrivateProfileStringA("HALOSEQ", "Enable", "1", settings.c_str());
    WritePrivateProfileStringA("HALOSEQ", "Wait", "5", settings.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, settings.c_str());

    haloseq::PlayerWindow player;
    if (!player.IsUp()) {
        std::printf("no HALOSEQ_CLASS window could be created\n");
        return 1;
    }
    winampVisModule module = {};
    size_t expected = 1;
    const DWORD initAt = GetTickCount();
    Init(&module);
    const DWORD pausedAt = AwaitMessage(player, expected, kPause, 2000);
    std::printf("Init -> pause request arrived after %lu ms\n", pausedAt ? pausedAt - initAt : 0xFFFFFFFFul);

    for (int cycle = 1; cycle <= kCycles; ++cycle) {
        DWORD lastFrame = 0;
        for (int frame = 0; frame < 20; ++frame) {
            Render(&module);
            lastFrame = GetTickCount();
            haloseq::PumpFor(50);
        }
        const DWORD resumedAt = AwaitMessage(player, ++expected, kResume, 10000);
        const DWORD backAt = GetTickCount();
        Render(&module);
        const DWORD repausedAt = AwaitMessage(player, ++expected, kPause, 3000);
        std::printf("cycle %d: resume %lu ms after the last frame; pause %lu ms after frames came back\n", cycle,
                    resumedAt ? resumedAt - lastFrame : 0xFFFFFFFFul,
                    repausedAt ? repausedAt - backAt : 0xFFFFFFFFul);
    }

    const DWORD quitAt = GetTickCount();
    Quit(&module);
    const DWORD finalAt = AwaitMessage(player, ++expected, kResume, 2000);
    std::printf("Quit -> resume request arrived after %lu ms\n", finalAt ? finalAt - quitAt : 0xFFFFFFFFul);
    std::printf("messages received: %zu (expected %zu)\n", player.Count(), expected);

    WritePrivateProfileStringA(nullptr, nullptr, nullptr, settings.c_str());
    DeleteFileA(settings.c_str());
    return 0;
}
