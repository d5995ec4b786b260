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
//   Zone0=RGB 255,40,0,90         The GPU's illumination zones (a lit logo or light bar of
//   Zone1=RGBW 0,0,255,32,60 cycling  current boards), numbered from 0 without gaps: the
//   Zone2=SINGLE 80     zone's type (RGB, RGBW, FIXED or SINGLE), its colour (RGB: red, green,
//                       blue, brightness; RGBW: red, green, blue, white, brightness; FIXED and
//                       SINGLE: brightness) and "cycling" for a zone in piecewise-linear mode,
//                       whose colour is then its first end point. A zone of no known type
//                       ends the list.
//   [DISPLAY0]          Display sections, numbered the same way.
//   GPUs=0,1            The GPUs (section numbers) that the display reaches, in order.
//   [FAIL]              Optional: operations that fail from the start, with the status
//   Initialize=-6       they return. Keys: Initialize, GetInterfaceVersionString,
//                       EnumNvidiaDisplayHandle, GetPhysicalGPUsFromDisplay,
//                       GetDisplayDriverVersion, GPU_GetFullName,
//                       GPU_QueryIlluminationSupport, GPU_SetIllumination,
//                       GPU_ClientIllumZonesGetInfo, GPU_ClientIllumZonesGetControl,
//                       GPU_ClientIllumZonesSetControl.
//
// Numbers may be decimal or 0x-hex. A value that is not a number keeps the default; a GPU
// list entry that names no GPU is dropped. Nothing in a bad file stops the driver, but a
// named file that is missing (the default machine is simulated instead), or one that gives
// no display reaching a GPU (a machine without lights), is told once per process on standard
// error and the debugger output: otherwise the lights would stay dark, or differ from the
// file, without a word.
#include "tools/nvapi_sim/ScenarioFile.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "gpu/NvApi.h"
#include "tools/common/ConsoleText.h"
#include "tools/common/Utf8Text.h"

namespace nvsim {

namespace {

constexpr int kValueSize = 256;
constexpr DWORD kPathSize = 1024;

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
    {"GPU_ClientIllumZonesGetInfo", kNvId_GPU_ClientIllumZonesGetInfo},
    {"GPU_ClientIllumZonesGetControl", kNvId_GPU_ClientIllumZonesGetControl},
    {"GPU_ClientIllumZonesSetControl", kNvId_GPU_ClientIllumZonesSetControl},
};

constexpr NamedId kZoneTypes[] = {
    {"RGB", NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGB},
    {"RGBW", NV_GPU_CLIENT_ILLUM_ZONE_TYPE_RGBW},
    {"FIXED", NV_GPU_CLIENT_ILLUM_ZONE_TYPE_COLOR_FIXED},
    {"SINGLE", NV_GPU_CLIENT_ILLUM_ZONE_TYPE_SINGLE_COLOR},
};

// The file is read through the wide profile calls on its wide path, so it may sit in a folder
// named outside the ANSI code page; its texts become the driver's 8-bit (ANSI) texts.
std::wstring FromAnsi(const char* text) {
    wchar_t wide[kValueSize];
    if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kValueSize)) wide[0] = L'\0';
    return wide;
}

bool SectionExists(const wchar_t* path, const char* section) {
    wchar_t keys[kValueSize];
    return GetPrivateProfileSectionW(FromAnsi(section).c_str(), keys, kValueSize, path) > 0;
}

void ReadText(const wchar_t* path, const char* section, const char* key, const char* fallback, char* out, int size) {
    wchar_t value[kValueSize];
    GetPrivateProfileStringW(FromAnsi(section).c_str(), FromAnsi(key).c_str(), FromAnsi(fallback).c_str(), value,
                             kValueSize, path);
    char text[kValueSize * 2];
    if (!WideCharToMultiByte(CP_ACP, 0, value, -1, text, sizeof text, nullptr, nullptr)) text[0] = '\0';
    CopyText(out, size, text);
}

// A whole number; `fallback` when the value is missing or not a number.
long ReadNumber(const wchar_t* path, const char* section, const char* key, long fallback) {
    char text[kValueSize];
    ReadText(path, section, key, "", text, sizeof text);
    char* end = nullptr;
    long value = std::strtol(text, &end, 0);
    return (end == text) ? fallback : value;
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

// "RGB 255,40,0,90 cycling": a zone's type, colour and mode; false when the type is none.
bool ParseZone(const char* text, uint32_t& type, uint32_t& mode, uint8_t* colour, int& colourSize) {
    char word[16] = "";
    int used = 0;
    if (std::sscanf(text, " %15[A-Za-z]%n", word, &used) != 1) return false;
    type = 0;
    for (const NamedId& known : kZoneTypes)
        if (_stricmp(word, known.name) == 0) type = known.id;
    if (type == 0) return false;
    int numbers[8];
    colourSize = ParseIdList(text + used, numbers, 8);
    for (int i = 0; i < colourSize; ++i) colour[i] = static_cast<uint8_t>(numbers[i]);
    mode = std::strstr(text, "cycling") ? NV_GPU_CLIENT_ILLUM_CTRL_MODE_PIECEWISE_LINEAR
                                        : NV_GPU_CLIENT_ILLUM_CTRL_MODE_MANUAL;
    return true;
}

void ReadZones(const wchar_t* path, const char* section, int gpu, Scenario& scenario) {
    for (int i = 0; i < kMaxZones; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "Zone%d", i);
        char text[kValueSize];
        ReadText(path, section, key, "", text, sizeof text);
        uint32_t type = 0, mode = 0;
        uint8_t colour[8] = {};
        int colourSize = 0;
        if (!ParseZone(text, type, mode, colour, colourSize)) return;
        scenario.AddZone(gpu, type, mode, colour, colourSize);
    }
}

void ReadGpus(const wchar_t* path, Scenario& scenario) {
    for (int i = 0; i < kMaxGpus; ++i) {
        char section[16];
        std::snprintf(section, sizeof section, "GPU%d", i);
        if (!SectionExists(path, section)) return;
        char name[kTextSize];
        char adapter[kTextSize];
        ReadText(path, section, "Name", "NVIDIA GPU (simulated)", name, sizeof name);
        ReadText(path, section, "Adapter", name, adapter, sizeof adapter);
        long driver = ReadNumber(path, section, "Driver", 41130);
        const int gpu = scenario.AddGpu(name, adapter, static_cast<uint32_t>(driver),
                                        ReadNumber(path, section, "Logo", 0) != 0,
                                        ReadNumber(path, section, "Sli", 0) != 0);
        ReadZones(path, section, gpu, scenario);
    }
}

void ReadDisplays(const wchar_t* path, Scenario& scenario) {
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

void ReadFailures(const wchar_t* path, Scenario& scenario) {
    for (const NamedId& op : kOperations) {
        long status = ReadNumber(path, "FAIL", op.name, 0);
        if (status != 0) scenario.SetForcedStatus(op.id, static_cast<int32_t>(status));
    }
}

// Fills the scenario from the file; false, with the scenario empty, when there is no file.
bool LoadFrom(const wchar_t* path, Scenario& scenario) {
    scenario.Clear();
    // The profile functions look for a bare name in the Windows folder, so pin the path.
    wchar_t full[kPathSize];
    const DWORD length = GetFullPathNameW(path, kPathSize, full, nullptr);
    if (length == 0 || length >= kPathSize) return false;
    if (GetFileAttributesW(full) == INVALID_FILE_ATTRIBUTES) return false;
    ReadGpus(full, scenario);
    ReadDisplays(full, scenario);
    ReadFailures(full, scenario);
    return true;
}

bool ReachesAGpu(const Scenario& scenario) {
    for (int i = 0; i < scenario.DisplayCount(); ++i)
        if (scenario.Display(i)->gpuCount > 0) return true;
    return false;
}

// Once per process, though the library is freed and loaded again with each plug-in run and
// reads its scenario at each load: a local atom belongs to the process and outlives the
// library.
void ReportOnce(const std::string& text) {
    static const char kReported[] = "GlowmeterSimulatedDriverReported";
    if (FindAtomA(kReported)) return;
    AddAtomA(kReported);
    const std::string line = "simulated NVIDIA driver: " + text + "\n";
    OutputDebugStringA(line.c_str());
    WriteText(StdStream::Err, line);
}

// The variable's value for a message, in UTF-8 whatever its letters.
std::string NamedFile() {
    wchar_t path[kPathSize];
    const DWORD length = GetEnvironmentVariableW(L"GLOWMETER_NVSIM", path, kPathSize);
    return length > 0 && length < kPathSize ? Utf8FromWide(path) : std::string();
}

}  // namespace

bool LoadScenarioFile(const char* path, Scenario& scenario) { return LoadFrom(WideFromUtf8(path).c_str(), scenario); }

void LoadStartupScenario(Scenario& scenario) {
    wchar_t path[kPathSize];
    const DWORD length = GetEnvironmentVariableW(L"GLOWMETER_NVSIM", path, kPathSize);
    if (length == 0) {
        scenario.SetDefault();
        return;
    }
    if (length >= kPathSize || !LoadFrom(path, scenario)) {
        ReportOnce("no scenario file \"" + NamedFile() +
                   "\" (GLOWMETER_NVSIM): simulating the default machine, one GPU with both lights");
        scenario.SetDefault();
        return;
    }
    if (!ReachesAGpu(scenario)) {
        ReportOnce("the scenario file \"" + NamedFile() +
                   "\" (GLOWMETER_NVSIM) gives no display that reaches a GPU ([GPU0] with Logo=1, Sli=1 "
                   "or a zone such as Zone0=SINGLE 100, [DISPLAY0] with GPUs=0): "
                   "the simulated machine has no lights");
    }
}

}  // namespace nvsim
