#pragma once
// Plants copies of planted_library.dll (tests/common/PlantedLibrary.cpp), under the name of a
// library that may only come from the system folder, in the places where a load by bare name
// would look first: beside this program (the host), beside a copy of the plug-in in a folder
// of its own, and in the current folder, which that folder becomes for the object's lifetime.
// The planted files, the copy and the current folder go back when the object goes.
//
// The programs that use it sit in build/<arch>/planted, one folder below the build folder
// that holds the plug-in and planted_library.dll.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/common/ProgramFiles.h"
#include "tests/common/TempFolder.h"

class PlantedLibraries {
public:
    explicit PlantedLibraries(const std::string& name) {
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, current);
        previousFolder_ = current;
        const std::string build = ProgramFolder() + "..\\";
        ok_ = pluginFolder_.Ok() && currentFolder_.Ok() &&
              CopyFileA((build + "vis_glowmeter.dll").c_str(), PluginPath().c_str(), FALSE);
        for (const std::string& folder : {ProgramFolder(), pluginFolder_.Path() + "\\", currentFolder_.Path() + "\\"}) {
            const std::string path = folder + name;
            DeleteFileA(Record(path).c_str());
            ok_ = ok_ && CopyFileA((build + "planted_library.dll").c_str(), path.c_str(), FALSE);
            paths_.push_back(path);
        }
        ok_ = ok_ && SetCurrentDirectoryA(currentFolder_.Path().c_str());
    }
    ~PlantedLibraries() {
        SetCurrentDirectoryA(previousFolder_.c_str());
        // The folders go with their TempFolder; only the one beside this program stays.
        DeleteFileA(paths_.front().c_str());
        DeleteFileA(Record(paths_.front()).c_str());
    }
    PlantedLibraries(const PlantedLibraries&) = delete;
    PlantedLibraries& operator=(const PlantedLibraries&) = delete;

    bool Ok() const { return ok_; }
    // The copy of the plug-in, beside one of the planted libraries, and other files there.
    std::string PluginPath() const { return BesidePlugin("vis_glowmeter.dll"); }
    std::string BesidePlugin(const std::string& name) const { return pluginFolder_.File(name); }

    // The planted files that were loaded: each leaves a record when it is, and the process
    // holds it while it stays loaded.
    std::vector<std::string> Loaded() const {
        std::vector<std::string> loaded;
        for (const std::string& path : paths_) {
            if (TempFolder::Exists(Record(path)) || GetModuleHandleA(path.c_str()) != nullptr) loaded.push_back(path);
        }
        return loaded;
    }

private:
    static std::string Record(const std::string& path) { return path + ".loaded"; }

    TempFolder pluginFolder_;
    TempFolder currentFolder_;
    std::string previousFolder_;
    std::vector<std::string> paths_;
    bool ok_ = false;
};
