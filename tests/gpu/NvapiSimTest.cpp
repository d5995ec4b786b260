// The simulated driver as the plug-in reaches it: through nvapi_QueryInterface and the
// call surface of gpu/NvApi.h.
#include <windows.h>

#include <cstring>
#include <functional>
#include <thread>

#include "gpu/NvApi.h"
#include "tests/common/DriverLog.h"
#include "tests/gpu/SimFixture.h"

namespace {

NvDisplayHandle Display(int index) {
    return reinterpret_cast<NvDisplayHandle>(static_cast<uintptr_t>(NvSim_DisplayHandle(index)));
}
NvPhysicalGpuHandle Gpu(int id) {
    return reinterpret_cast<NvPhysicalGpuHandle>(static_cast<uintptr_t>(NvSim_GpuHandle(id)));
}

NvAPI_Status Query(NvPhysicalGpuHandle gpu, int attribute, NvU32* supported = nullptr,
                   NvU32 version = NV_GPU_QUERY_ILLUMINATION_SUPPORT_PARM_VER) {
    NV_GPU_QUERY_ILLUMINATION_SUPPORT_PARM parm = {};
    parm.version = version;
    parm.hPhysicalGpu = gpu;
    parm.Attribute = static_cast<NV_GPU_ILLUMINATION_ATTRIB>(attribute);
    NvAPI_Status status = NvAPI_GPU_QueryIlluminationSupport(&parm);
    if (supported) *supported = parm.bSupported;
    return status;
}

NvAPI_Status Set(NvPhysicalGpuHandle gpu, int attribute, NvU32 value,
                 NvU32 version = NV_GPU_SET_ILLUMINATION_PARM_VER) {
    NV_GPU_SET_ILLUMINATION_PARM parm = {};
    parm.version = version;
    parm.hPhysicalGpu = gpu;
    parm.Attribute = static_cast<NV_GPU_ILLUMINATION_ATTRIB>(attribute);
    parm.Value = value;
    return NvAPI_GPU_SetIllumination(&parm);
}

}  // namespace

// Runs first in this program: the driver answers with its start-up machine until a test
// resets it.
TEST(NvapiSimStartup, WithoutScenarioFileSimulatesOneGpuWithBothLights) {
    SetEnvironmentVariableA("GLOWMETER_NVSIM", nullptr);
    ASSERT_EQ(NVAPI_OK, NvAPI_Initialize());
    NvDisplayHandle display = nullptr;
    ASSERT_EQ(NVAPI_OK, NvAPI_EnumNvidiaDisplayHandle(0, &display));
    EXPECT_EQ(NVAPI_END_ENUMERATION, NvAPI_EnumNvidiaDisplayHandle(1, &display));
    NvPhysicalGpuHandle gpus[NVAPI_MAX_PHYSICAL_GPUS] = {};
    NvU32 count = 0;
    ASSERT_EQ(NVAPI_OK, NvAPI_GetPhysicalGPUsFromDisplay(Display(0), gpus, &count));
    ASSERT_EQ(1u, count);
    NV_DISPLAY_DRIVER_VERSION version = {};
    version.version = NV_DISPLAY_DRIVER_VERSION_VER;
    ASSERT_EQ(NVAPI_OK, NvAPI_GetDisplayDriverVersion(Display(0), &version));
    EXPECT_EQ(41130u, version.drvVersion);
    EXPECT_STREQ("NVIDIA GeForce GTX 1080 (simulated)", version.szAdapterString);
    NvAPI_ShortString name = {};
    ASSERT_EQ(NVAPI_OK, NvAPI_GPU_GetFullName(gpus[0], name));
    EXPECT_STREQ("NVIDIA GeForce GTX 1080 (simulated)", name);
    for (int attribute : {0, 1}) {
        NvU32 supported = 0;
        EXPECT_EQ(NVAPI_OK, Query(gpus[0], attribute, &supported));
        EXPECT_EQ(1u, supported) << attribute;
    }
}

class NvapiSimTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        logoOnly_ = NvSim_AddGpu("Logo Board", "Logo Board", 920, 1, 0);
        both_ = NvSim_AddGpu("Both Board", "Both Board", 920, 1, 1);
        AddDisplayOf({logoOnly_, both_});
    }
    int logoOnly_ = -1;
    int both_ = -1;
};

// Every argument a real driver rejects gets a failure status, recorded with the call.
TEST_F(NvapiSimTest, RejectsWhatARealDriverRejects) {
    struct Case {
        const char* what;
        std::function<NvAPI_Status()> call;
        NvAPI_Status expected;
    };
    NvDisplayHandle display = nullptr;
    NvPhysicalGpuHandle gpus[NVAPI_MAX_PHYSICAL_GPUS];
    NvU32 count = 0;
    NV_DISPLAY_DRIVER_VERSION oldRecord = {};
    oldRecord.version = NV_DISPLAY_DRIVER_VERSION_VER - 4;
    const Case cases[] = {
        {"display beyond the last", [&] { return NvAPI_EnumNvidiaDisplayHandle(1, &display); }, NVAPI_END_ENUMERATION},
        {"null display handle", [&] { return NvAPI_GetPhysicalGPUsFromDisplay(nullptr, gpus, &count); },
         NVAPI_INVALID_ARGUMENT},
        {"GPU handle as display",
         [&] { return NvAPI_GetPhysicalGPUsFromDisplay(reinterpret_cast<NvDisplayHandle>(Gpu(0)), gpus, &count); },
         NVAPI_EXPECTED_DISPLAY_HANDLE},
        {"driver record of another size", [&] { return NvAPI_GetDisplayDriverVersion(Display(0), &oldRecord); },
         NVAPI_INCOMPATIBLE_STRUCT_VERSION},
        {"query record of the 32-bit size", [&] { return Query(Gpu(0), 0, nullptr, 0x10010); },
         NVAPI_INCOMPATIBLE_STRUCT_VERSION},
        {"set record of the 32-bit size", [&] { return Set(Gpu(0), 0, 50, 0x10010); }, NVAPI_INCOMPATIBLE_STRUCT_VERSION},
        {"query on a null GPU", [&] { return Query(nullptr, 0); }, NVAPI_INVALID_ARGUMENT},
        {"set on a GPU that is not there", [&] { return Set(Gpu(7), 0, 50); }, NVAPI_EXPECTED_PHYSICAL_GPU_HANDLE},
        {"full name of a display handle",
         [&] {
             NvAPI_ShortString name;
             return NvAPI_GPU_GetFullName(reinterpret_cast<NvPhysicalGpuHandle>(Display(0)), name);
         },
         NVAPI_EXPECTED_PHYSICAL_GPU_HANDLE},
        {"unknown light", [&] { return Query(Gpu(1), 2); }, NVAPI_INVALID_ARGUMENT},
        {"brightness above 100", [&] { return Set(Gpu(1), 0, 101); }, NVAPI_INVALID_ARGUMENT},
        {"set on a missing light", [&] { return Set(Gpu(0), 1, 50); }, NVAPI_NOT_SUPPORTED},
    };
    for (const Case& c : cases) {
        NvSim_ClearCalls();
        EXPECT_EQ(c.expected, c.call()) << c.what;
        NvSimCall call = {};
        ASSERT_EQ(1, NvSim_GetCall(0, &call)) << c.what;
        EXPECT_EQ(c.expected, call.status) << c.what;
    }
    EXPECT_EQ(-1, NvSim_Brightness(logoOnly_, 1));
    EXPECT_EQ(-1, NvSim_Brightness(both_, 0));
}

TEST_F(NvapiSimTest, ForcedAndHiddenCalls) {
    NvSim_FailCall(kNvId_Initialize, NVAPI_NVIDIA_DEVICE_NOT_FOUND);
    EXPECT_EQ(NVAPI_NVIDIA_DEVICE_NOT_FOUND, NvAPI_Initialize());
    NvSim_FailCall(kNvId_Initialize, 0);
    EXPECT_EQ(NVAPI_OK, NvAPI_Initialize());

    // A forced failure does nothing else: the light keeps its level.
    NvSim_FailCall(kNvId_GPU_SetIllumination, NVAPI_ERROR);
    EXPECT_EQ(NVAPI_ERROR, Set(Gpu(1), 0, 40));
    EXPECT_EQ(-1, NvSim_Brightness(both_, 0));
    NvSim_FailCall(kNvId_GPU_SetIllumination, 0);

    // A driver without the operation: the call surface says so and nothing reaches it.
    NvSim_ClearCalls();
    NvSim_HideCall(kNvId_GPU_SetIllumination, 1);
    EXPECT_EQ(NVAPI_NO_IMPLEMENTATION, Set(Gpu(1), 0, 40));
    EXPECT_EQ(0, NvSim_CallCount());
    NvSim_HideCall(kNvId_GPU_SetIllumination, 0);
    EXPECT_EQ(NVAPI_OK, Set(Gpu(1), 0, 40));
    EXPECT_EQ(40, NvSim_Brightness(both_, 0));
}

TEST_F(NvapiSimTest, RecordsEveryCallInOrderWithItsArguments) {
    NvDisplayHandle display = nullptr;
    ASSERT_EQ(NVAPI_OK, NvAPI_EnumNvidiaDisplayHandle(0, &display));
    NvU32 supported = 0;
    ASSERT_EQ(NVAPI_OK, Query(Gpu(1), 1, &supported));
    ASSERT_EQ(NVAPI_OK, Set(Gpu(1), 1, 77));

    std::vector<NvSimCall> calls = DriverCalls();
    ASSERT_EQ(3u, calls.size());
    EXPECT_EQ(kNvId_EnumNvidiaDisplayHandle, calls[0].id);
    EXPECT_EQ(NvSim_DisplayHandle(0), calls[0].handle);
    EXPECT_EQ(0u, calls[0].index);
    EXPECT_EQ(kNvId_GPU_QueryIlluminationSupport, calls[1].id);
    EXPECT_EQ(NvSim_GpuHandle(both_), calls[1].handle);
    EXPECT_EQ(NV_GPU_QUERY_ILLUMINATION_SUPPORT_PARM_VER, calls[1].version);
    EXPECT_EQ(1, calls[1].attribute);
    EXPECT_EQ(1u, calls[1].value);
    EXPECT_EQ(kNvId_GPU_SetIllumination, calls[2].id);
    EXPECT_EQ(NvSim_GpuHandle(both_), calls[2].handle);
    EXPECT_EQ(NV_GPU_SET_ILLUMINATION_PARM_VER, calls[2].version);
    EXPECT_EQ(1, calls[2].attribute);
    EXPECT_EQ(77u, calls[2].value);
    EXPECT_EQ(77, NvSim_Brightness(both_, 1));

    // Recording off: calls are answered, not kept.
    NvSim_SetRecording(0);
    EXPECT_EQ(NVAPI_OK, Set(Gpu(1), 1, 12));
    EXPECT_EQ(3, NvSim_CallCount());
    EXPECT_EQ(12, NvSim_Brightness(both_, 1));
}

TEST_F(NvapiSimTest, KeepsTheNewestCallsWhenTheLogOverflows) {
    constexpr int kCapacity = 1 << 16;
    for (int i = 0; i < kCapacity + 10; ++i) Set(Gpu(1), 0, static_cast<NvU32>(i % 101));
    ASSERT_EQ(kCapacity, NvSim_CallCount());
    NvSimCall oldest = {};
    NvSimCall newest = {};
    ASSERT_EQ(1, NvSim_GetCall(0, &oldest));
    ASSERT_EQ(1, NvSim_GetCall(kCapacity - 1, &newest));
    EXPECT_EQ(10u % 101, oldest.value);
    EXPECT_EQ(static_cast<NvU32>((kCapacity + 9) % 101), newest.value);
    EXPECT_EQ(0, NvSim_GetCall(kCapacity, &newest));
}

TEST_F(NvapiSimTest, CallsFromSeveralThreadsAreAllRecorded) {
    constexpr int kThreads = 4;
    constexpr int kCallsEach = 2000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kCallsEach; ++i) Set(Gpu(1), t % 2, static_cast<NvU32>(t));
        });
    for (std::thread& thread : threads) thread.join();
    std::vector<NvSimCall> calls = DriverCalls();
    ASSERT_EQ(static_cast<size_t>(kThreads * kCallsEach), calls.size());
    int perThread[kThreads] = {};
    for (const NvSimCall& call : calls) {
        ASSERT_EQ(NVAPI_OK, call.status);
        ASSERT_LT(call.value, static_cast<NvU32>(kThreads));
        ++perThread[call.value];
    }
    for (int count : perThread) EXPECT_EQ(kCallsEach, count);
}
