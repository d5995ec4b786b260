// nvapi-sim-install: puts a stand-in driver library where the plug-in looks for NVIDIA's, the
// system folder (of a Wine prefix, or of a test machine without an NVIDIA driver), or takes it
// away again. A driver library there that is not one of Glowmeter's stand-ins is never
// replaced or removed.
//
//   nvapi-sim-install install <stand-in.dll>   e.g. simulated-driver\nvapi64.dll
//   nvapi-sim-install remove
//   nvapi-sim-install where                    prints the path the plug-in loads
//
// Exit code 0 when done, 1 for a wrong command line, 2 when refused, 3 when it failed.
#include <cstdio>
#include <cstring>
#include <string>

#include "gpu/NvApi.h"
#include "support/SystemLibrary.h"
#include "tools/nvapi_sim/DriverInstall.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: nvapi-sim-install install <stand-in.dll> | remove | where\n"
                 "  install  copies the stand-in into the system folder as " NVAPI_LIBRARY_NAME "\n"
                 "  remove   deletes the stand-in from there\n"
                 "  where    prints the path the plug-in loads the driver library from\n");
    return 1;
}

int ExitCode(InstallResult result) {
    switch (result) {
        case InstallResult::kDone: return 0;
        case InstallResult::kRefused: return 2;
        case InstallResult::kFailed: break;
    }
    return 3;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    char target[kSystemLibraryPathSize];
    if (!SystemLibraryPath(NVAPI_LIBRARY_NAME, target)) {
        std::fprintf(stderr, "nvapi-sim-install: the system folder can't be found\n");
        return 3;
    }

    std::string message;
    InstallResult result;
    if (command == "where" && argc == 2) {
        std::printf("%s\n", target);
        return 0;
    } else if (command == "install" && argc == 3) {
        result = InstallStandIn(argv[2], target, message);
    } else if (command == "remove" && argc == 2) {
        result = RemoveStandIn(target, message);
    } else {
        return Usage();
    }
    std::fprintf(result == InstallResult::kDone ? stdout : stderr, "nvapi-sim-install: %s\n", message.c_str());
    return ExitCode(result);
}
