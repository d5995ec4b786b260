#pragma once
// The mark of a driver library that Glowmeter builds to stand in for NVIDIA's (the simulated
// driver, and the test driver without an entry point): each exports a function of this name.
// A driver library in the system folder without it belongs to somebody else, a real driver
// most likely, and nvapi-sim-install never replaces or removes it.
#define NVSIM_STAND_IN_MARK GlowmeterStandInDriver

#define NVSIM_TEXT_OF(name) #name
#define NVSIM_TEXT(name) NVSIM_TEXT_OF(name)

// The mark as it appears in the library's export table.
constexpr char kStandInMark[] = NVSIM_TEXT(NVSIM_STAND_IN_MARK);

// Defines the mark in a stand-in library (at namespace scope, once per library).
#define NVSIM_DEFINE_STAND_IN_MARK \
    extern "C" __declspec(dllexport) int NVSIM_STAND_IN_MARK() { return 1; }
