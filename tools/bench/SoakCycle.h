// One station's cycle of the soak: KVT_OpenDevice, event procedures, a monitor session
// (read with its dump, write, call), a property loaded into a file and saved from one,
// release and transfer, the camera log, KVT_CloseDevice. The operations are those of
// the robustness sequences (tests/robustness/Sequences.h), run on one camera world.
//
// A cycle may carry one transport fault, injected at a random call position of a random
// operation (the simulated camera's SetFault): that operation must return an odd code
// and log "[ERR!]"; the station then recovers as an operator would (the camera world
// is reloaded, the session and the device closed) and the next cycle starts clean.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "robustness/DriverContext.h"
#include "robustness/Sequences.h"

namespace kvtsoak {

struct Tally {
    unsigned long cycles = 0;
    unsigned long operations = 0;
    unsigned long faults = 0;        // injected and reached
    unsigned long faultsJudged = 0;  // of these: an odd code and an "[ERR!]" line
    unsigned long unreached = 0;     // injected at a call the operation did not make
    unsigned long unexpected = 0;    // failures of operations without a fault
    std::vector<std::string> problems;   // the first few, for the report
};

class Station {
public:
    explicit Station(robust::DriverContext& ctx);

    // The clean cycle: each operation's transport calls, the positions faults go to.
    // False (with the reason) when a clean operation fails.
    bool Record(std::string& error);
    // One cycle; with `inject`, one fault at a random position.
    void RunCycle(std::mt19937& random, bool inject, Tally& tally);
    // The operation now running (for the hang watchdog).
    const char* Current() const { return _current; }

private:
    struct Operation {
        const robust::Sequence* sequence;
        std::vector<kvttest::SimCall> clean;   // its transport calls in the clean cycle
    };
    unsigned long Run(const Operation& op);
    void Problem(Tally& tally, const std::string& text);
    void Recover();

    robust::DriverContext& _ctx;
    std::vector<robust::Sequence> _sequences;
    std::vector<Operation> _cycle;
    const char* volatile _current = "";
};

}  // namespace kvtsoak
