// Scenario files of the simulated NVIDIA driver.
//
// A scenario file is a Windows profile (INI) file; GLOWMETER_NVSIM=<path> selects it when
// the driver library starts (a relative path counts from the working directory). Without
// the variable, or when the file does not exist, the driver simulates one display with one
// GPU "NVIDIA GeForce GTX 1080 (simulated)", driver 411.30, with both lights.
//
//   [GPU0]              GPU sections are numbered from 0 without gaps; the first missing
//   Name=NVIDIA ...     number ends the list. A section needs at least one key.
//   Adapter=NVIDIA ...  Name: the GPU's full name (NvAPI_GPU_GetFullName).
//   Driver=41130        Adapter: the adapter text of the driver-version record (default:
//   Logo=1              Name; "not implemented yet" as some drivers report it).
//   Sli=0               Driver: drvVersion (41130 reads as 411.30). Logo, Sli: 1 when the
//                       board has the logo light / the SLI bridge light (default 0).
//   [DISPLAY0]          Display sections, numbered the same way.
//   GPUs=0,1            The GPUs (section numbers) that the display reaches, in order.
//   [FAIL]              Optional: operations that fail from the start, with the status
//   Initialize=-6       they return. Keys: Initialize, GetInterfaceVersionString,
//                       EnumNvidiaDisplayHandle, GetPhysicalGPUsFromDisplay,
//                       GetDisplayDriverVersion, GPU_GetFullName,
//                       GPU_QueryIlluminationSupport, GPU_SetIllumination.
//
// Numbers may be decimal or 0x-hex. A value that is not a number keeps the default; a GPU
// list entry that names no GPU is dropped. Nothing in a bad file stops the driver.
#include "tools/nvapi_sim/ScenarioFile.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "gpu/NvApi.h"

namespace nvsim {

namespace {

constexpr int kValueSize = 256;

struct NamedId {
    const char* name;
    uint32_t id;
};

constexpr NamedId kOperations[] = {
    {"Initialize", kNvId_Initialize},
    {"GetInterfaceVersionString", kNvId_GetInterfaceVersionString},
    {"EnumNvidiaDisplayHandle", kNvId_EnumNvidiaDisplayHandle},
    {"GetPhysicalGPUsFromDisplay", kNvId_GetPhysicalGPUsFromDisplay},
    {"GetDisplayDriverVersion", kNvId_GetDisplayDriverVersion},
    {"GPU_GetFullName", kNvId_GPU_GetFullName},
    {"GPU_QueryIlluminationSupport", kNvId_GPU_QueryIlluminationSupport},
    {"GPU_SetIllumination", kNvId_GPU_SetIllumination},
};

bool SectionExists(const char* path, const char* section) {
    char keys[kValueSize];
    return GetPrivateProfileSectionA(section, keys, sizeof keys, path) > 0;
}

void ReadText(const char* path, const char* section, const char* key, const char* fallback, char* out, int size) {
    GetPrivateProfileStringA(section, key, fallback, out, static_cast<DWORD>(size), path);
}

// A whole number; `fallback` when the value is missing or not a number.
long ReadNumber(const char* path, const char* section, const char* key, long fallback) {
    char text[kValueSize];
    ReadText(path, section, key, "", text, sizeof text);
    char* end = nullptr;
    long value = std::strtol(text, &end, 0);
    return (end == text) ? fallback : value;
}

void ReadGpus(const char* path, Scenario& scenario) {
    for (int i = 0; i < kMaxGpus; ++i) {
        char section[16];
        std::snprintf(section, sizeof section, "GPU%d", i);
        if (!SectionExists(path, section)) return;
        char name[kTextSize];
        char adapter[kTextSize];
        ReadText(path, section, "Name", "NVIDIA GPU (simulated)", name, sizeof name);
        ReadText(path, section, "Adapter", name, adapter, sizeof adapter);
        long driver = ReadNumber(path, section, "Driver", 41130);
        scenario.AddGpu(name, adapter, static_cast<uint32_t>(driver), ReadNumber(path, section, "Logo", 0) != 0,
                        ReadNumber(path, section, "Sli", 0) != 0);
    }
}

// "0, 2,1" -> {0, 2, 1}; reading stops at the first entry that is not a number.
int ParseIdList(const char* text, int* ids, int capacity) {
    int count = 0;
    const char* p = text;
    while (*p && count < capacity) {
        while (*p == ' ' || *p == ',' || *p == '\t') ++p;
        if (!*p) break;
        char* end = nullptr;
        long id = std::strtol(p, &end, 0);
        if (end == p) break;
        ids[count++] = static_cast<int>(id);
        p = end;
    }
    return count;
}

void ReadDisplays(const char* path, Scenario& scenario) {
    for (int i = 0; i < kMaxDisplays; ++i) {
        char section[16];
        std::snprintf(section, sizeof section, "DISPLAY%d", i);
        if (!SectionExists(path, section)) return;
        char list[kValueSize];
        ReadText(path, section, "GPUs", "", list, sizeof list);
        int ids[kMaxGpusPerDisplay];
        scenario.AddDisplay(ids, ParseIdList(list, ids, kMaxGpusPerDisplay));
    }
}

void ReadFailures(const char* path, Scenario& scenario) {
    for (const NamedId& op : kOperations) {
        long status = ReadNumber(path, "FAIL", op.name, 0);
        if (status != 0) scenario.SetForcedStatus(op.id, static_cast<int32_t>(status));
    }
}

}  // namespace

bool LoadScenarioFile(const char* path, Scenario& scenario) {
    scenario.Clear();
    // The profile functions look for a bare name in the Windows folder, so pin the path.
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) return false;
    if (GetFileAttributesA(full) == INVALID_FILE_ATTRIBUTES) return false;
    ReadGpus(full, scenario);
    ReadDisplays(full, scenario);
    ReadFailures(full, scenario);
    return true;
}

void LoadStartupScenario(Scenario& scenario) {
    char path[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("GLOWMETER_NVSIM", path, sizeof path);
    if (length > 0 && length < sizeof path && LoadScenarioFile(path, scenario)) return;
    scenario.SetDefault();
}

}  // namespace nvsim
