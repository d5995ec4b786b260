#pragma once
// Puts a stand-in driver library in place of NVIDIA's, or takes it away, without ever touching
// a file that is not one of Glowmeter's stand-ins.
#include <string>

enum class InstallResult {
    kDone,     // installed, replaced or removed (or nothing was there to remove)
    kRefused,  // the target is somebody else's library, or the source is no stand-in: untouched
    kFailed,   // the source can't be read or the target can't be written or deleted
};

// True when the file exists and carries the stand-in mark (tools/nvapi_sim/StandInMark.h).
bool IsStandInDriver(const std::string& path);

// Copies the stand-in `source` to `target`, replacing a stand-in that is there. The copy is
// made beside the target under another name first and then moved over it, so the target is
// never left half written. `message` says what happened, or why not.
InstallResult InstallStandIn(const std::string& source, const std::string& target, std::string& message);

// Deletes the stand-in `target`; a missing target is already done.
InstallResult RemoveStandIn(const std::string& target, std::string& message);
