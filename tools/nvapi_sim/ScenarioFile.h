#pragma once
// The scenario the simulated driver starts with: read from the profile file that the
// environment variable GLOWMETER_NVSIM names, or the default machine. The file format is
// described at the top of ScenarioFile.cpp.
#include "tools/nvapi_sim/Scenario.h"

namespace nvsim {

// Fills `scenario` from the file `path` (UTF-8). What can't be read is skipped: a GPU section
// without a usable value gets defaults, a list entry that is not a GPU id is dropped.
// Returns false (and leaves the scenario empty) when the file does not exist.
bool LoadScenarioFile(const char* path, Scenario& scenario);

// The start-up scenario: the file named by GLOWMETER_NVSIM when it exists, else the default.
// A named file that is missing, or that gives no display reaching a GPU, is reported once
// per process on standard error and the debugger output.
void LoadStartupScenario(Scenario& scenario);

}  // namespace nvsim
