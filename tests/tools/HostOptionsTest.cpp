// The host's command line.
#include <gtest/gtest.h>

#include <vector>

#include "tools/host/HostOptions.h"

namespace {

bool Parse(std::vector<const char*> args, HostOptions& options, std::string& error) {
    args.insert(args.begin(), "glowmeter-host");
    return ParseHostOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(HostOptions, ReadsEveryOption) {
    HostOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"--fast", "--frames", "200", "--module", "2", "--plugin", "p\\x.dll", "--config-at", "2.5",
                       "song.wav"},
                      o, error))
        << error;
    EXPECT_TRUE(o.fast);
    EXPECT_EQ(o.maxFrames, 200);
    EXPECT_EQ(o.configAtMs, 2500);
    EXPECT_EQ(o.module, 2);
    EXPECT_EQ(o.plugin, "p\\x.dll");
    EXPECT_EQ(o.track, "song.wav");

    ASSERT_TRUE(Parse({"song.wav"}, o, error));
    EXPECT_FALSE(o.fast);
    EXPECT_EQ(o.maxFrames, -1);
    EXPECT_EQ(o.module, 0);
    EXPECT_EQ(o.plugin, "");
    EXPECT_EQ(o.configAtMs, -1);
}

TEST(HostOptions, PositionalDllIsThePlugin) {
    HostOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"song.wav", "Other.DLL"}, o, error)) << error;
    EXPECT_EQ(o.plugin, "Other.DLL");
    EXPECT_EQ(o.track, "song.wav");
    // Listing and settings need no track.
    ASSERT_TRUE(Parse({"--list", "vis_x.dll"}, o, error)) << error;
    EXPECT_TRUE(o.list);
    ASSERT_TRUE(Parse({"--config", "--module", "1"}, o, error)) << error;
    EXPECT_TRUE(o.config);
}

TEST(HostOptions, MistakesAreRefused) {
    const std::vector<std::vector<const char*>> rows = {
        {},                                 // no track
        {"--fast"},                         // still no track
        {"--frames", "song.wav"},           // count missing
        {"--frames", "-3", "song.wav"},
        {"--frames", "12x", "song.wav"},
        {"--module"},
        {"--module", "99999999999", "song.wav"},
        {"--plugin"},
        {"--loud", "song.wav"},
        {"a.wav", "b.wav"},
        {"--config-at", "song.wav"},        // time missing
        {"--config-at", "-1", "song.wav"},
        {"--config-at", "3s", "song.wav"},
    };
    for (const auto& args : rows) {
        HostOptions o;
        std::string error;
        EXPECT_FALSE(Parse(args, o, error)) << (args.empty() ? "(nothing)" : args[0]);
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
