// The settings file. Load and save are not symmetric on purpose: "Debug" is a switch for
// diagnosis that only a hand edit of the file turns on, so the load reads it and the save
// never writes it (the user's line stays as typed); "AutoDetect" is the dialog's choice for
// as long as the plug-in stays loaded, so the save writes it and the load leaves the choice in
// memory alone (a fresh load starts with it off, whatever the file says).
//
// The file is read and written with the wide profile functions on its wide path rather than
// through INIFILE, whose paths are 8-bit: the plug-in's folder may be named outside the ANSI
// code page. The load reads each key with the profile's own integer rule (defaults for what is
// missing, negative numbers kept as their 32-bit pattern), which is what the ranges below are
// forced on.
#include "settings/ConfigFile.h"

#include <cwchar>

#include "settings/SettingsFileWriter.h"
#include "settings/SettingsPath.h"

namespace {

constexpr unsigned kSectionSize = 16;
constexpr unsigned kValueSize = 16;

void DeviceSection(int slot, wchar_t (&section)[kSectionSize]) { std::swprintf(section, kSectionSize, L"DEVICE%d", slot); }

// Holds the file open for reading while its keys are read, so that nobody can lock it in
// between. An existing file that can't be read must not pass for a missing one: its keys
// would read as defaults, and the next Apply would save those over the user's lights.
class ReadHold {
public:
    explicit ReadHold(const wchar_t* path) {
        const DWORD attributes = GetFileAttributesW(path);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
        file_ = CreateFileW(path, GENERIC_READ, kSettingsFileSharing, nullptr, OPEN_EXISTING, 0, nullptr);
        const DWORD error = file_ == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
        readable_ = error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    ~ReadHold() {
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    }
    ReadHold(const ReadHold&) = delete;
    ReadHold& operator=(const ReadHold&) = delete;
    // Readable, or missing (then every key has its default).
    bool Readable() const { return readable_; }

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    bool readable_ = false;
};

void ReadKeys(const wchar_t* file, PLUGINCFG& cfg) {
    cfg.Debug = static_cast<int32_t>(GetPrivateProfileIntW(L"GLOBAL", L"Debug", 0, file));
    cfg.Decay = GetPrivateProfileIntW(L"GLOBAL", L"Decay", 4, file);
    cfg.PlayerEnable = static_cast<int32_t>(GetPrivateProfileIntW(L"HALOSEQ", L"Enable", 1, file));
    cfg.PlayerWait = GetPrivateProfileIntW(L"HALOSEQ", L"Wait", 10, file);
    for (int i = 0; i < kDeviceSlots; ++i) {
        wchar_t section[kSectionSize];
        DeviceSection(i, section);
        DEVICECFG& slot = cfg.Devices[i];
        slot.Enable = static_cast<int32_t>(GetPrivateProfileIntW(section, L"Enable", 0, file));
        slot.Display = GetPrivateProfileIntW(section, L"Display", 0, file);
        slot.GPU = GetPrivateProfileIntW(section, L"GPU", i, file);
        slot.Attribute = static_cast<int32_t>(GetPrivateProfileIntW(section, L"Attribute", 0, file));
        slot.Channel = static_cast<int32_t>(GetPrivateProfileIntW(section, L"Channel", 0, file));
    }
}

// Unsigned comparisons: a negative number in the file counts as above the upper bound.
void ForceRanges(PLUGINCFG& cfg) {
    if (cfg.Decay == 0) cfg.Decay = 1;
    if (cfg.Decay > 8) cfg.Decay = 8;
    if (cfg.PlayerWait < 5) cfg.PlayerWait = 5;
    if (cfg.PlayerWait > 60) cfg.PlayerWait = 60;
}

void WriteSigned(SettingsFileWriter& file, const wchar_t* section, const wchar_t* key, int32_t value) {
    wchar_t text[kValueSize];
    std::swprintf(text, kValueSize, L"%d", static_cast<int>(value));
    file.Write(section, key, text);
}

void WriteUnsigned(SettingsFileWriter& file, const wchar_t* section, const wchar_t* key, uint32_t value) {
    wchar_t text[kValueSize];
    std::swprintf(text, kValueSize, L"%u", static_cast<unsigned>(value));
    file.Write(section, key, text);
}

}  // namespace

int LoadConfig(winampVisModule* module, PLUGINCFG& cfg) {
    wchar_t path[kSettingsPathSize];
    if (!SettingsFilePath(module, path)) return 0;
    const ReadHold hold(path);
    if (!hold.Readable()) return 0;
    ReadKeys(path, cfg);
    ForceRanges(cfg);
    return 1;
}

int SaveConfig(winampVisModule* module, const PLUGINCFG& cfg) {
    wchar_t path[kSettingsPathSize];
    if (!SettingsFilePath(module, path)) return 0;
    SettingsFileWriter file(path);
    if (!file.Begin()) return 0;
    // The keys in the order of a new file; the values as they stand, no range forced.
    WriteSigned(file, L"GLOBAL", L"AutoDetect", cfg.AutoDetect);
    WriteUnsigned(file, L"GLOBAL", L"Decay", cfg.Decay);
    WriteSigned(file, L"HALOSEQ", L"Enable", cfg.PlayerEnable);
    WriteUnsigned(file, L"HALOSEQ", L"Wait", cfg.PlayerWait);
    for (int i = 0; i < kDeviceSlots; ++i) {
        wchar_t section[kSectionSize];
        DeviceSection(i, section);
        const DEVICECFG& slot = cfg.Devices[i];
        WriteSigned(file, section, L"Enable", slot.Enable);
        WriteUnsigned(file, section, L"Display", slot.Display);
        WriteUnsigned(file, section, L"GPU", slot.GPU);
        WriteSigned(file, section, L"Attribute", slot.Attribute);
        WriteSigned(file, section, L"Channel", slot.Channel);
    }
    return file.Commit() ? 1 : 0;
}
