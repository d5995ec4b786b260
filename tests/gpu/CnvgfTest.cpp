// The GPU access object on the simulated driver.
#include "gpu/CNVGF.h"
#include "tests/common/DriverLog.h"
#include "tests/gpu/SimFixture.h"

namespace {

NvPhysicalGpuHandle GpuHandle(int id) {
    return reinterpret_cast<NvPhysicalGpuHandle>(static_cast<uintptr_t>(NvSim_GpuHandle(id)));
}
NvDisplayHandle DisplayHandle(int index) {
    return reinterpret_cast<NvDisplayHandle>(static_cast<uintptr_t>(NvSim_DisplayHandle(index)));
}

class CnvgfTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        object_.driverVersion.version = NV_DISPLAY_DRIVER_VERSION_VER;
    }
    CNVGF object_;
};

TEST_F(CnvgfTest, LinksOnceAndReleasesOnce) {
    ASSERT_EQ(1, object_.Load(1));
    HMODULE linked = object_.hNvapi;
    EXPECT_EQ(GetModuleHandleA(NVAPI_LIBRARY_NAME), linked);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(linked, "nvapi_QueryInterface")), object_.pfnQueryInterface);

    EXPECT_EQ(0, object_.Load(1));
    EXPECT_EQ(linked, object_.hNvapi);

    EXPECT_EQ(1, object_.Load(0));
    EXPECT_EQ(nullptr, object_.hNvapi);
    EXPECT_EQ(nullptr, object_.pfnQueryInterface);
    EXPECT_EQ(0, object_.Load(0));
}

TEST_F(CnvgfTest, GpuIndexBeyondTheCountKeepsTheFormerIndexAndTheNewDisplay) {
    int a = NvSim_AddGpu("A", "A", 920, 1, 1);
    int b = NvSim_AddGpu("B", "B", 920, 1, 1);
    int c = NvSim_AddGpu("C", "C", 920, 1, 1);
    AddDisplayOf({a, b});
    AddDisplayOf({c});
    ASSERT_EQ(1, object_.Select(0, 1));
    ASSERT_EQ(1u, object_.gpuIndex);

    for (unsigned beyond : {1u, 2u, 0xFFFFFFFFu}) {
        EXPECT_EQ(0, object_.Select(1, beyond)) << beyond;
        EXPECT_EQ(1u, object_.displayIndex);
        EXPECT_EQ(DisplayHandle(1), object_.hDisplay);
        EXPECT_EQ(1u, object_.gpuCount);
        EXPECT_EQ(GpuHandle(c), object_.hGpu[0]);
        EXPECT_EQ(1u, object_.gpuIndex);
    }
    // The set goes to hGpu[1], still B from the former display's list.
    NvSim_ClearCalls();
    EXPECT_EQ(1, object_.SetIllumination(0, 30));
    EXPECT_EQ(30, NvSim_Brightness(b, 0));
    EXPECT_EQ(-1, NvSim_Brightness(c, 0));

    // A display that isn't there fails before anything is stored.
    EXPECT_EQ(0, object_.Select(5, 0));
    EXPECT_EQ(1u, object_.displayIndex);
}

TEST_F(CnvgfTest, DriverVersionText) {
    const struct {
        uint32_t drvVersion;
        const char* text;
    } cases[] = {{920, "9.20"}, {905, "9.5"}, {900, "9.0"}, {41130, "411.30"}, {7, "0.7"}};
    for (const auto& c : cases) {
        NvSim_Reset();
        AddDisplayOf({NvSim_AddGpu("G", "G", c.drvVersion, 1, 0)});
        ASSERT_EQ(1, object_.Select(0, 0));
        EXPECT_STREQ(c.text, object_.szDriverVersion) << c.drvVersion;
    }
}

TEST_F(CnvgfTest, PlaceholderAdapterTextIsReplacedByTheFullName) {
    const struct {
        const char* adapter;
        const char* expected;
        size_t fullNameCalls;
    } cases[] = {
        {"not implemented yet", "Full Name", 1},
        {"NOT IMPLEMENTED YET", "Full Name", 1},
        {"Not Implemented Yet.", "Not Implemented Yet.", 0},
        {"not implemented", "not implemented", 0},
        {"GeForce Board", "GeForce Board", 0},
    };
    for (const auto& c : cases) {
        NvSim_Reset();
        AddDisplayOf({NvSim_AddGpu("Full Name", c.adapter, 920, 1, 0)});
        ASSERT_EQ(1, object_.Select(0, 0)) << c.adapter;
        EXPECT_STREQ(c.expected, object_.driverVersion.szAdapterString) << c.adapter;
        EXPECT_EQ(c.fullNameCalls, DriverCallsOf(kNvId_GPU_GetFullName).size()) << c.adapter;
    }
    // The name can't be had: the selection fails.
    NvSim_Reset();
    AddDisplayOf({NvSim_AddGpu("Full Name", "not implemented yet", 920, 1, 0)});
    NvSim_FailCall(kNvId_GPU_GetFullName, NVAPI_ERROR);
    EXPECT_EQ(0, object_.Select(0, 0));
}

TEST_F(CnvgfTest, SetIlluminationQueriesThenSetsWithExactRecords) {
    int gpu = NvSim_AddGpu("G", "G", 920, 1, 0);
    AddDisplayOf({gpu});
    ASSERT_EQ(1, object_.Select(0, 0));
    NvSim_ClearCalls();

    EXPECT_EQ(1, object_.SetIllumination(0, 64));
    std::vector<NvSimCall> calls = DriverCalls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(kNvId_GPU_QueryIlluminationSupport, calls[0].id);
    EXPECT_EQ(kNvId_GPU_SetIllumination, calls[1].id);
    for (const NvSimCall& call : calls) {
        EXPECT_EQ(NvSim_GpuHandle(gpu), call.handle);
        EXPECT_EQ(sizeof(void*) == 8 ? 0x10018u : 0x10010u, call.version);
        EXPECT_EQ(0, call.attribute);
        EXPECT_EQ(NVAPI_OK, call.status);
    }
    EXPECT_EQ(64u, calls[1].value);
    EXPECT_EQ(64, NvSim_Brightness(gpu, 0));

    // The SLI light is missing: only the query reaches the driver.
    NvSim_ClearCalls();
    EXPECT_EQ(0, object_.IsSupported(1));
    EXPECT_EQ(0, object_.SetIllumination(1, 64));
    EXPECT_EQ(0u, DriverCallsOf(kNvId_GPU_SetIllumination).size());
    EXPECT_EQ(2u, DriverCallsOf(kNvId_GPU_QueryIlluminationSupport).size());
}

TEST_F(CnvgfTest, UnselectedObjectSetsNothing) {
    AddDisplayOf({NvSim_AddGpu("G", "G", 920, 1, 1)});
    EXPECT_EQ(0, object_.IsSupported(0));
    EXPECT_EQ(0, object_.SetIllumination(0, 50));
    std::vector<NvSimCall> calls = DriverCalls();
    ASSERT_EQ(2u, calls.size());
    for (const NvSimCall& call : calls) {
        EXPECT_EQ(kNvId_GPU_QueryIlluminationSupport, call.id);
        EXPECT_EQ(0u, call.handle);
        EXPECT_NE(NVAPI_OK, call.status);
    }
}

}  // namespace
