// Scenario files of the simulated driver: what is read, and what a bad file leaves.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "gpu/NvApi.h"
#include "tools/nvapi_sim/ScenarioFile.h"

namespace {

using nvsim::Scenario;

class ScenarioFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[MAX_PATH];
        GetTempPathA(sizeof folder, folder);
        path_ = std::string(folder) + "glowmeter_scenario_test.ini";
    }
    void TearDown() override {
        DeleteFileA(path_.c_str());
        SetEnvironmentVariableA("GLOWMETER_NVSIM", nullptr);
    }
    void Write(const std::string& bytes) {
        FILE* file = std::fopen(path_.c_str(), "wb");
        ASSERT_NE(nullptr, file);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
    std::vector<int> GpusOf(const Scenario& scenario, int display) {
        const nvsim::SimDisplay* d = scenario.Display(display);
        return d ? std::vector<int>(d->gpuIds, d->gpuIds + d->gpuCount) : std::vector<int>();
    }
    std::string path_;
    Scenario scenario_;
};

TEST_F(ScenarioFileTest, ReadsGpusDisplaysAndFailures) {
    Write("[GPU0]\r\nName=Alpha Board\r\nAdapter=not implemented yet\r\nDriver=920\r\nLogo=1\r\n"
          "[GPU1]\r\nName=Beta Board\r\nSli=1\r\n"
          "[DISPLAY0]\r\nGPUs=0\r\n[DISPLAY1]\r\nGPUs=1, 0\r\n"
          "[FAIL]\r\nInitialize=-6\r\nGPU_SetIllumination=0x7\r\n");
    ASSERT_TRUE(nvsim::LoadScenarioFile(path_.c_str(), scenario_));
    ASSERT_NE(nullptr, scenario_.Gpu(1));
    EXPECT_EQ(nullptr, scenario_.Gpu(2));
    EXPECT_STREQ("Alpha Board", scenario_.Gpu(0)->fullName);
    EXPECT_STREQ("not implemented yet", scenario_.Gpu(0)->adapterText);
    EXPECT_EQ(920u, scenario_.Gpu(0)->driverVersion);
    EXPECT_TRUE(scenario_.Gpu(0)->hasLight[0]);
    EXPECT_FALSE(scenario_.Gpu(0)->hasLight[1]);
    EXPECT_STREQ("Beta Board", scenario_.Gpu(1)->adapterText);  // defaults to the name
    EXPECT_EQ(41130u, scenario_.Gpu(1)->driverVersion);
    EXPECT_FALSE(scenario_.Gpu(1)->hasLight[0]);
    EXPECT_TRUE(scenario_.Gpu(1)->hasLight[1]);
    EXPECT_EQ(2, scenario_.DisplayCount());
    EXPECT_EQ(std::vector<int>({0}), GpusOf(scenario_, 0));
    EXPECT_EQ(std::vector<int>({1, 0}), GpusOf(scenario_, 1));
    EXPECT_EQ(-6, scenario_.ForcedStatus(kNvId_Initialize));
    EXPECT_EQ(7, scenario_.ForcedStatus(kNvId_GPU_SetIllumination));
    EXPECT_EQ(0, scenario_.ForcedStatus(kNvId_GPU_GetFullName));
}

// Zones: their type, colour and mode; an entry of no known type ends the GPU's list.
TEST_F(ScenarioFileTest, ReadsTheIlluminationZonesOfAGpu) {
    Write("[GPU0]\r\nName=Zone Board\r\nZone0=RGB 118,185,0,100 cycling\r\nZone1=rgbw 1,2,3,4,80\r\n"
          "Zone2=SINGLE 60\r\nZone3=LASER 9\r\nZone4=FIXED 50\r\n"
          "[GPU1]\r\nName=Dark Board\r\n[FAIL]\r\nGPU_ClientIllumZonesSetControl=-104\r\n");
    ASSERT_TRUE(nvsim::LoadScenarioFile(path_.c_str(), scenario_));
    const nvsim::SimGpu* gpu = scenario_.Gpu(0);
    ASSERT_NE(nullptr, gpu);
    ASSERT_EQ(3, gpu->zoneCount);
    struct Row { uint32_t type, mode; std::vector<int> colour; };
    const Row rows[] = {
        {NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGB, NV_GPU_CLIENT_ILLUM_CTRL_MODE_PIECEWISE_LINEAR, {118, 185, 0, 100}},
        {NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGBW, NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL, {1, 2, 3, 4, 80}},
        {NV_GPU_CLIENT_ILLUM_ZONE_TYPE_SINGLE_COLOR, NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL, {60}},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].type, gpu->zones[i].type);
        EXPECT_EQ(rows[i].mode, gpu->zones[i].mode);
        for (size_t b = 0; b < rows[i].colour.size(); ++b) EXPECT_EQ(rows[i].colour[b], gpu->zones[i].data[b]) << b;
    }
    EXPECT_EQ(0, scenario_.Gpu(1)->zoneCount);
    EXPECT_EQ(-104, scenario_.ForcedStatus(kNvId_GPU_ClientIllumZonesSetControl));
}

TEST_F(ScenarioFileTest, SkipsWhatCantBeRead) {
    Write("[GPU0]\nDriver=abc\nLogo=yes\n"
          "[GPU2]\nName=after a gap, not read\n"
          "[DISPLAY0]\nGPUs=5, 0, x, 0\n"
          "[FAIL]\nInitialize=oops\n");
    ASSERT_TRUE(nvsim::LoadScenarioFile(path_.c_str(), scenario_));
    ASSERT_NE(nullptr, scenario_.Gpu(0));
    EXPECT_EQ(nullptr, scenario_.Gpu(1));
    EXPECT_EQ(41130u, scenario_.Gpu(0)->driverVersion);
    EXPECT_FALSE(scenario_.Gpu(0)->hasLight[0]);
    EXPECT_EQ(std::vector<int>({0}), GpusOf(scenario_, 0));  // 5 names no GPU; "x" ends the list
    EXPECT_EQ(0, scenario_.ForcedStatus(kNvId_Initialize));

    std::string junk(4096, '\0');
    for (size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 7919u) % 251u);
    Write(junk);
    EXPECT_TRUE(nvsim::LoadScenarioFile(path_.c_str(), scenario_));
}

TEST_F(ScenarioFileTest, StartupScenarioComesFromTheNamedFileElseTheDefault) {
    Write("[GPU0]\nName=From File\nLogo=1\n[DISPLAY0]\nGPUs=0\n");
    SetEnvironmentVariableA("GLOWMETER_NVSIM", path_.c_str());
    nvsim::LoadStartupScenario(scenario_);
    ASSERT_NE(nullptr, scenario_.Gpu(0));
    EXPECT_STREQ("From File", scenario_.Gpu(0)->fullName);

    DeleteFileA(path_.c_str());
    EXPECT_FALSE(nvsim::LoadScenarioFile(path_.c_str(), scenario_));
    nvsim::LoadStartupScenario(scenario_);
    ASSERT_NE(nullptr, scenario_.Gpu(0));
    EXPECT_STREQ("NVIDIA GeForce GTX 1080 (simulated)", scenario_.Gpu(0)->fullName);
    EXPECT_EQ(41130u, scenario_.Gpu(0)->driverVersion);
    EXPECT_TRUE(scenario_.Gpu(0)->hasLight[0] && scenario_.Gpu(0)->hasLight[1]);
    EXPECT_EQ(std::vector<int>({0}), GpusOf(scenario_, 0));
}

}  // namespace
