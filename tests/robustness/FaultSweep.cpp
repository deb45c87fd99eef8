#include "robustness/FaultSweep.h"

#include <algorithm>
#include <cstdio>

#include "robustness/Sequences.h"
#include "common/Win32.h"
#include "support/HandleCount.h"

namespace robust {
namespace {

std::string Describe(const kvttest::SimCall& call) {
    return call.procedure.empty() ? call.function : call.function + ":" + call.procedure;
}

struct Attempt {
    unsigned long result = 0;
    long injectedAt = -1;
    std::size_t calls = 0;
    unsigned errors = 0;
    int handles = 0;
};

// One attempt of the sequence with the transport failing at clean call `p`.
bool Try(DriverContext& ctx, const Sequence& seq, const std::vector<kvttest::SimCall>& clean,
         std::size_t p, Attempt& out) {
    kvttest::SimCamera& sim = *ctx.sim;
    if (!sim.Load(seq.scenario) || seq.arrange() != 0) {
        Emit("seq " + seq.name + " arrange failed before position " + std::to_string(p));
        return false;
    }
    LogTail log;
    sim.ClearJournal();
    const unsigned handlesBefore = kvttest::ProcessHandleCount();
    sim.SetFault(clean[p].function, Occurrence(clean, p), kInjectedStatus);
    out.result = seq.act();
    const unsigned handlesAfter = kvttest::ProcessHandleCount();
    sim.SetFault(clean[p].function, 0, 0);
    const std::vector<kvttest::SimCall> calls = sim.Journal();
    out.injectedAt = InjectedAt(calls);
    out.calls = calls.size();
    out.errors = CountTag(log.Since(), "[ERR!]");
    out.handles = static_cast<int>(handlesAfter) - static_cast<int>(handlesBefore);
    return true;
}

// KVT_FULL_SWEEP=1 tries every position also of the long sequences that are sampled in
// the test command (about ten minutes more under Wine).
bool FullSweepRequested() {
    char value[8] = {};
    const DWORD n = ::GetEnvironmentVariableA("KVT_FULL_SWEEP", value, sizeof(value));
    return n > 0 && n < sizeof(value) && value[0] == '1';
}

bool Sweep(DriverContext& ctx, const Sequence& seq, std::size_t& tried) {
    kvttest::SimCamera& sim = *ctx.sim;
    // The clean run gives the call sequence; a first attempt also creates whatever the
    // libraries create once (path blocks, the monitor object's first allocation).
    std::vector<kvttest::SimCall> clean;
    unsigned long cleanResult = 0;
    for (int warm = 0; warm < 2; ++warm) {
        if (!sim.Load(seq.scenario) || seq.arrange() != 0) {
            Emit("seq " + seq.name + " arrange failed " + sim.Error());
            return false;
        }
        sim.ClearJournal();
        cleanResult = seq.act();
        clean = sim.Journal();
    }
    const std::vector<std::size_t> positions =
        SweepPositions(clean.size(), FullSweepRequested() ? 0 : seq.sampleLimit);
    Emit("seq " + seq.name + " calls=" + std::to_string(clean.size()) +
         " tried=" + std::to_string(positions.size()) + " clean=" + std::to_string(cleanResult));
    if (cleanResult != 0) {
        return false;
    }
    for (const std::size_t p : positions) {
        Attempt first;
        if (!Try(ctx, seq, clean, p, first)) {
            return false;
        }
        // A module's runtime creates its exception-handling semaphores the first time
        // that module throws; an attempt whose handle count moved runs once more, and
        // that second count is the one judged.
        Attempt again = first;
        if (first.handles != 0 && !Try(ctx, seq, clean, p, again)) {
            return false;
        }
        char line[512];
        std::snprintf(line, sizeof(line),
                      "pos %s %zu %s result=%lu at=%ld calls=%zu err=%u handles=%d first=%d",
                      seq.name.c_str(), p, Describe(clean[p]).c_str(), first.result,
                      first.injectedAt, first.calls, first.errors, again.handles, first.handles);
        Emit(line);
        ++tried;
    }
    return true;
}

}  // namespace

long InjectedAt(const std::vector<kvttest::SimCall>& calls) {
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].injected) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

unsigned Occurrence(const std::vector<kvttest::SimCall>& calls, std::size_t index) {
    unsigned n = 0;
    for (std::size_t k = 0; k <= index; ++k) {
        n += calls[k].function == calls[index].function ? 1u : 0u;
    }
    return n;
}

std::vector<std::size_t> SweepPositions(std::size_t count, std::size_t limit) {
    std::vector<std::size_t> positions;
    if (limit == 0 || count <= limit) {
        for (std::size_t i = 0; i < count; ++i) {
            positions.push_back(i);
        }
        return positions;
    }
    const std::size_t edge = limit / 4;
    const std::size_t middle = limit - 2 * edge;
    for (std::size_t i = 0; i < edge; ++i) {
        positions.push_back(i);
    }
    for (std::size_t k = 0; k < middle; ++k) {
        positions.push_back(edge + (count - 2 * edge) * k / middle);
    }
    for (std::size_t i = count - edge; i < count; ++i) {
        positions.push_back(i);
    }
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}

int RunFaultSweep(DriverContext& ctx, const std::vector<std::string>& names) {
    kvttest::ProcessHandleCount();   // its first call sets itself up
    std::vector<Sequence> sequences = AllSequences(ctx);
    std::size_t tried = 0;
    bool ok = true;
    const bool every = std::find(names.begin(), names.end(), "all") != names.end();
    for (const std::string& name : names) {
        const bool known = std::any_of(sequences.begin(), sequences.end(),
                                       [&](const Sequence& s) { return s.name == name; });
        if (name != "all" && !known) {
            Emit("seq " + name + " unknown");
            ok = false;
        }
    }
    for (const Sequence& seq : sequences) {
        if (every || std::find(names.begin(), names.end(), seq.name) != names.end()) {
            ok = Sweep(ctx, seq, tried) && ok;
        }
    }
    Emit("done tried=" + std::to_string(tried));
    return ok ? 0 : 1;
}

int RunInitializeFault(DriverContext& ctx) {
    kvttest::SimCamera& sim = *ctx.sim;
    LogTail log;
    sim.ClearJournal();
    const unsigned handlesBefore = kvttest::ProcessHandleCount();
    sim.SetFault("k2pInitialize", 1, kInjectedStatus);
    const unsigned long failed = ctx.api.openDevice();
    const unsigned handlesAfter = kvttest::ProcessHandleCount();
    const std::vector<kvttest::SimCall> calls = sim.Journal();
    const unsigned errors = CountTag(log.Since(), "[ERR!]");
    char line[512];
    std::snprintf(line, sizeof(line), "pos OpenDevice.First 0 %s result=%lu at=%ld calls=%zu err=%u handles=%d",
                  calls.empty() ? "none" : Describe(calls.front()).c_str(), failed,
                  InjectedAt(calls), calls.size(), errors,
                  static_cast<int>(handlesAfter) - static_cast<int>(handlesBefore));
    Emit(line);
    // The next open starts again from loading the transport and succeeds.
    sim.ClearJournal();
    const unsigned long again = ctx.api.openDevice();
    const std::vector<kvttest::SimCall> retry = sim.Journal();
    Emit("retry result=" + std::to_string(again) + " first=" +
         (retry.empty() ? std::string("none") : retry.front().function));
    Emit("done tried=1");
    return 0;
}

}  // namespace robust
