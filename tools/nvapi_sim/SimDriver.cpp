#include "tools/nvapi_sim/SimDriver.h"

#include "tools/nvapi_sim/ScenarioFile.h"

namespace nvsim {

namespace {
SimDriver g_driver;
}

SimDriver& Driver() { return g_driver; }

SimDriver::SimDriver() { InitializeCriticalSection(&lock_); }
SimDriver::~SimDriver() { DeleteCriticalSection(&lock_); }

SimDriver::Access::Access(SimDriver& driver) : driver_(driver) {
    EnterCriticalSection(&driver_.lock_);
    if (!driver_.ready_) {
        // Not in DllMain: reading a file under the loader lock is best avoided.
        LoadStartupScenario(driver_.scenario_);
        driver_.ready_ = true;
    }
}

SimDriver::Access::~Access() { LeaveCriticalSection(&driver_.lock_); }

void SimDriver::Access::Record(const NvSimCall& call) {
    if (driver_.recording_) driver_.log_.Add(call);
}

void SimDriver::Access::Reset() {
    driver_.scenario_.Clear();
    driver_.log_.Clear();
    driver_.recording_ = true;
    driver_.ready_ = true;
}

}  // namespace nvsim
