// The operations the fault sweep runs: each a factory program's call of one export (or
// a short chain of them), with the camera world it needs and a clean set-up.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "robustness/DriverContext.h"

namespace robust {

struct Sequence {
    std::string name;
    std::string scenario;                    // the simulated world of every attempt
    std::function<unsigned long()> arrange;  // clean set-up before the attempt (0 = ok)
    std::function<unsigned long()> act;      // the operation; its result code
    // Long sequences are sampled (see SweepPositions); 0 tries every position.
    std::size_t sampleLimit = 0;
};

// One camera, not in tool mode, small generated images (raw and JPEG per release), a
// short camera log.
std::string BaseScenario();
// Two cameras; camera 1 reports a tool mode, so opening exchanges the slots.
std::string TwoCameraScenario();

std::vector<Sequence> AllSequences(DriverContext& ctx);

}  // namespace robust
