// Libraries named as the driver, planted beside this program, beside a copy of the plug-in
// and in the current folder, are never loaded: the plug-in's code reaches the simulated
// driver in the system folder and nothing else. This program does not import the driver, so
// the code under test is what loads it first; each test runs in a process of its own, since
// a process loads the driver only once.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "gpu/CNVGF.h"
#include "gpu/NvApi.h"
#include "tests/common/SettingsFile.h"
#include "tests/common/LoadedSystemLibrary.h"
#include "tests/plugin/PluginRun.h"
#include "tests/common/PlantedLibrary.h"
#include "tools/host/VisPlugin.h"
#include "tools/nvapi_sim/NvapiSim.h"

namespace {

const std::vector<std::string> kNone;

// The driver library in the system folder as this process holds it, and its call log.
class SystemDriver {
public:
    SystemDriver() : module_(LoadedSystemLibrary(NVAPI_LIBRARY_NAME)) {}
    HMODULE Module() const { return module_; }

    int CallsOf(uint32_t id) const {
        auto count = Function<decltype(&NvSim_CallCount)>("NvSim_CallCount");
        auto get = Function<decltype(&NvSim_GetCall)>("NvSim_GetCall");
        if (!count || !get) return -1;
        int found = 0;
        for (int i = 0; i < count(); ++i) {
            NvSimCall call = {};
            found += get(i, &call) && call.id == id;
        }
        return found;
    }
    int Brightness(int gpu, int attribute) const {
        auto brightness = Function<decltype(&NvSim_Brightness)>("NvSim_Brightness");
        return brightness ? brightness(gpu, attribute) : -2;
    }

private:
    template <typename Fn>
    Fn Function(const char* name) const {
        return module_ ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name))) : nullptr;
    }
    HMODULE module_;
};

class PlantedDriver : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(planted_.Ok());
        // The simulated driver's default machine: one display, one GPU with both lights.
        SetEnvironmentVariableA("GLOWMETER_NVSIM", nullptr);
    }
    PlantedLibraries planted_{NVAPI_LIBRARY_NAME};
};

TEST_F(PlantedDriver, CallSurfaceReachesOnlyTheSystemDriver) {
    EXPECT_EQ(NVAPI_OK, NvAPI_Initialize());
    NvDisplayHandle display = nullptr;
    EXPECT_EQ(NVAPI_OK, NvAPI_EnumNvidiaDisplayHandle(0, &display));

    const SystemDriver driver;
    ASSERT_NE(nullptr, driver.Module());
    EXPECT_EQ(driver.Module(), GetModuleHandleA(NVAPI_LIBRARY_NAME)) << "one driver in the process";
    EXPECT_EQ(1, driver.CallsOf(kNvId_Initialize));
    EXPECT_EQ(1, driver.CallsOf(kNvId_EnumNvidiaDisplayHandle));
    EXPECT_EQ(kNone, planted_.Loaded());
}

TEST_F(PlantedDriver, LoadLinksOnlyTheSystemDriver) {
    CNVGF object;
    ASSERT_EQ(1, object.Load(1));
    const SystemDriver driver;
    ASSERT_NE(nullptr, driver.Module());
    EXPECT_EQ(driver.Module(), object.hNvapi);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(driver.Module(), "nvapi_QueryInterface")),
              object.pfnQueryInterface);
    EXPECT_EQ(kNone, planted_.Loaded());
    EXPECT_EQ(1, object.Load(0));
}

// The plug-in DLL as a host runs it from a folder of its own: Init opens the slot (call
// surface and Load), Render sets the light, Quit releases the links.
TEST_F(PlantedDriver, PluginRunDrivesOnlyTheSystemDriver) {
    const std::string settings = planted_.BesidePlugin("vis_glowmeter.ini");
    WriteSettingsFile(testrun::OneLeftLogoLight(), settings);
    {
        VisPlugin plugin;
        std::string error;
        ASSERT_TRUE(plugin.Load(planted_.PluginPath(), nullptr, error)) << error;
        winampVisModule* module = plugin.Prepare(0, nullptr, error);
        ASSERT_NE(nullptr, module) << error;
        module->Init(module);
        testrun::SetWaveform(*module, 90, 0);
        module->Render(module);
        module->Quit(module);

        const SystemDriver driver;
        ASSERT_NE(nullptr, driver.Module());
        EXPECT_EQ(kDeviceSlots, driver.CallsOf(kNvId_Initialize));
        EXPECT_EQ(2, driver.CallsOf(kNvId_GPU_SetIllumination));
        EXPECT_EQ(17, driver.Brightness(0, kAttributeLogo));  // 90 gives 70, then 70 / 4
    }
    RemoveSettingsFile(settings);
    EXPECT_EQ(kNone, planted_.Loaded());
}

}  // namespace
