// A library named "WSOCK32.DLL" planted beside this program, beside a copy of the plug-in and
// in the current folder is never loaded: with Debug=1 the plug-in's WinSock loader takes the
// system's library, and its requests reach the service. This program does not import
// WSOCK32.DLL, so the plug-in's loader is the first to load it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/client/UdpService.h"
#include "tests/common/SettingsFile.h"
#include "tests/common/LoadedSystemLibrary.h"
#include "tests/plugin/PluginRun.h"
#include "tests/common/PlantedLibrary.h"
#include "tools/host/VisPlugin.h"

namespace {

TEST(PlantedWinsock, DiagnosticRunUsesOnlyTheSystemLibrary) {
    const PlantedLibraries planted("WSOCK32.DLL");
    ASSERT_TRUE(planted.Ok());
    UdpService service;
    ASSERT_TRUE(service.Start());
    const std::string settings = planted.BesidePlugin("vis_glowmeter.ini");
    WriteSettingsFile(testrun::OneLeftLogoLight(1), settings);
    {
        VisPlugin plugin;
        std::string error;
        ASSERT_TRUE(plugin.Load(planted.PluginPath(), nullptr, error)) << error;
        winampVisModule* module = plugin.Prepare(0, nullptr, error);
        ASSERT_NE(nullptr, module) << error;
        auto winsockHandle = reinterpret_cast<HINSTANCE (*)()>(
            reinterpret_cast<void*>(GetProcAddress(plugin.Instance(), "WS32LIB_GetDLLHandle")));
        ASSERT_NE(nullptr, winsockHandle);

        module->Init(module);
        testrun::SetWaveform(*module, 90, 0);
        module->Render(module);
        EXPECT_EQ(service.Received().size(), 2u) << "both requests of the frame went through WinSock";
        EXPECT_NE(nullptr, winsockHandle());
        EXPECT_EQ(LoadedSystemLibrary("WSOCK32.DLL"), winsockHandle());
        module->Quit(module);
    }
    RemoveSettingsFile(settings);
    EXPECT_EQ(std::vector<std::string>(), planted.Loaded());
}

}  // namespace
