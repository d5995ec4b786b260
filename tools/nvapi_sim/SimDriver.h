#pragma once
// The simulated driver's state: the scenario, the call log and the lock that guards both.
// Callers (the driver operations and the control functions) may come from several threads.
#include "tools/nvapi_sim/CallLog.h"
#include "tools/nvapi_sim/Scenario.h"

#include <windows.h>

namespace nvsim {

class SimDriver {
public:
    SimDriver();
    ~SimDriver();
    SimDriver(const SimDriver&) = delete;
    SimDriver& operator=(const SimDriver&) = delete;

    // Holds the lock for its lifetime; the first one ever taken also sets up the start-up
    // scenario, so the driver is ready before any call is answered.
    class Access {
    public:
        explicit Access(SimDriver& driver);
        ~Access();
        Access(const Access&) = delete;
        Access& operator=(const Access&) = delete;

        Scenario& scenario() { return driver_.scenario_; }
        CallLog& log() { return driver_.log_; }
        bool recording() const { return driver_.recording_; }
        void SetRecording(bool on) { driver_.recording_ = on; }
        void Record(const NvSimCall& call);
        // An empty scenario, recording on, no calls kept; the start-up scenario is not
        // loaded afterwards.
        void Reset();

    private:
        SimDriver& driver_;
    };

private:
    CRITICAL_SECTION lock_;
    Scenario scenario_;
    CallLog log_;
    bool recording_ = true;
    bool ready_ = false;
};

// The one driver of this library.
SimDriver& Driver();

}  // namespace nvsim
