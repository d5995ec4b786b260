#pragma once
// What the monitor does with one datagram: check that it is a set-illumination request,
// show the change, decide whether to answer, and count.
#include <cstdint>

#include "client/LightMessage.h"

struct MonitorCounts {
    unsigned long requests = 0;   // well-formed requests taken
    unsigned long answered = 0;
    unsigned long dropped = 0;    // well-formed, left unanswered on purpose
    unsigned long malformed = 0;  // not a request: ignored
};

class RequestHandler {
public:
    RequestHandler(int32_t answerStatus, unsigned dropEvery) : status(answerStatus), dropEvery(dropEvery) {}

    // Handles a received datagram in place; true when `bytes` now holds the answer to send
    // back (kLightMessageSize bytes).
    bool Handle(uint8_t* bytes, int length);

    const MonitorCounts& Counts() const { return counts; }

private:
    int32_t status;
    unsigned dropEvery;
    MonitorCounts counts;
};
