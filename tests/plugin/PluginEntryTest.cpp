// The host's view of the plug-in: the DLL as Winamp loads it.
#include <gtest/gtest.h>
#include <windows.h>

#include "plugin/WinampVis.h"

namespace {

struct PluginDll : ::testing::Test {
    HMODULE dll = LoadLibraryA("vis_glowmeter.dll");
    winampVisHeader* header = nullptr;
    void SetUp() override {
        ASSERT_NE(dll, nullptr);
        auto get = reinterpret_cast<winampVisGetHeaderType>(
            reinterpret_cast<void*>(GetProcAddress(dll, "winampVisGetHeader")));
        ASSERT_NE(get, nullptr);
        header = get();
        ASSERT_NE(header, nullptr);
    }
    void TearDown() override {
        if (dll) FreeLibrary(dll);
    }
};

TEST_F(PluginDll, HeaderNamesTheVersionAndDescription) {
    EXPECT_EQ(header->version, 0x103);
    EXPECT_STREQ(header->description, "Glowmeter v1.03");
}

TEST_F(PluginDll, ListsExactlyThreeModules) {
    struct Row { int index; const char* name; int delayMs; };
    const Row rows[] = {{0, "Normal response", 50}, {1, "High response", 25}, {2, "Low response", 200}};
    for (const Row& row : rows) {
        winampVisModule* module = header->getModule(row.index);
        ASSERT_NE(module, nullptr) << row.index;
        EXPECT_STREQ(module->description, row.name);
        EXPECT_EQ(module->delayMs, row.delayMs);
        EXPECT_EQ(module->latencyMs, 25);
        EXPECT_EQ(module->spectrumNch, 0);
        EXPECT_EQ(module->waveformNch, 2);
        EXPECT_EQ(module->hwndParent, nullptr);
        EXPECT_EQ(module->hDllInstance, nullptr);
        EXPECT_EQ(module->userData, nullptr);
        EXPECT_NE(module->Render, nullptr);
    }
    // All three share the same four entries.
    EXPECT_EQ(header->getModule(0)->Render, header->getModule(2)->Render);
    EXPECT_EQ(header->getModule(0)->Init, header->getModule(1)->Init);
    EXPECT_EQ(header->getModule(3), nullptr);
    EXPECT_EQ(header->getModule(-1), nullptr);
}

}  // namespace
