#include "tools/bench/SoakCycle.h"

#include "robustness/FaultSweep.h"

namespace kvtsoak {
namespace {

// The cycle's operations, by sequence name, in order; KVT_CloseDevice ends each cycle.
const char* const kCycle[] = {
    "OpenDevice",
    "GetLanguage",
    "SetLanguage",
    "GetBodyID",
    "SaveTimeCode",
    "MonitorSession",        // read with its dump, write, call
    "LoadProperty",          // a property into a file
    "SaveProperty",          // and from a file
    "ReleaseAndTransfer",    // JPEG and raw image files
    "GetCameraLog",
};

constexpr std::size_t kProblemsKept = 20;

}  // namespace

Station::Station(robust::DriverContext& ctx) : _ctx(ctx), _sequences(robust::AllSequences(ctx)) {
    for (const char* name : kCycle) {
        for (const robust::Sequence& s : _sequences) {
            if (s.name == name) {
                _cycle.push_back({&s, {}});
            }
        }
    }
}

unsigned long Station::Run(const Operation& op) {
    _current = op.sequence->name.c_str();
    _ctx.sim->ClearJournal();
    return op.sequence->act();
}

bool Station::Record(std::string& error) {
    if (_cycle.size() != sizeof(kCycle) / sizeof(kCycle[0])) {
        error = "a sequence of the cycle is missing";
        return false;
    }
    // Files the operations read, and the camera world of every cycle.
    for (const Operation& op : _cycle) {
        if (op.sequence->name == "SaveProperty" && op.sequence->arrange() != 0) {
            error = "SaveProperty's set-up failed";
            return false;
        }
    }
    if (!_ctx.sim->Load(robust::BaseScenario())) {
        error = "the camera world does not load: " + _ctx.sim->Error();
        return false;
    }
    for (int round = 0; round < 2; ++round) {   // the first round also warms up
        for (Operation& op : _cycle) {
            const unsigned long result = Run(op);
            if (result != 0) {
                error = op.sequence->name + " failed with " + std::to_string(result) + " without a fault";
                return false;
            }
            op.clean = _ctx.sim->Journal();
        }
        _ctx.api.closeDevice();
    }
    return true;
}

void Station::Problem(Tally& tally, const std::string& text) {
    if (tally.problems.size() < kProblemsKept) {
        tally.problems.push_back("cycle " + std::to_string(tally.cycles) + ": " + text);
    }
}

void Station::Recover() {
    _ctx.sim->Load(robust::BaseScenario());
    _ctx.api.monitorCloseSession();
    _ctx.api.closeDevice();
}

void Station::RunCycle(std::mt19937& random, bool inject, Tally& tally) {
    ++tally.cycles;
    // Where the fault goes: an operation that makes transport calls, one of its calls.
    std::size_t faulted = _cycle.size();
    std::size_t position = 0;
    if (inject) {
        do {
            faulted = random() % _cycle.size();
        } while (_cycle[faulted].clean.empty());
        position = random() % _cycle[faulted].clean.size();
    }
    for (std::size_t i = 0; i < _cycle.size(); ++i) {
        const Operation& op = _cycle[i];
        ++tally.operations;
        if (i != faulted) {
            const unsigned long result = Run(op);
            if (result != 0) {
                ++tally.unexpected;
                Problem(tally, op.sequence->name + " failed with " + std::to_string(result) + " without a fault");
                Recover();
                return;
            }
            continue;
        }
        const kvttest::SimCall& call = op.clean[position];
        robust::LogTail log;
        _ctx.sim->SetFault(call.function, robust::Occurrence(op.clean, position), robust::kInjectedStatus);
        const unsigned long result = Run(op);
        _ctx.sim->SetFault(call.function, 0, 0);
        const bool reached = robust::InjectedAt(_ctx.sim->Journal()) >= 0;
        const unsigned errors = robust::CountTag(log.Since(), "[ERR!]");
        const std::string where = op.sequence->name + " at call " + std::to_string(position) + " (" +
                                  call.function + (call.procedure.empty() ? "" : ":" + call.procedure) + ")";
        if (!reached) {
            ++tally.unreached;
            Problem(tally, "the fault in " + where + " was not reached");
        } else {
            ++tally.faults;
            if (result % 2 == 1 && errors > 0) {
                ++tally.faultsJudged;
            } else {
                Problem(tally, "the fault in " + where + " gave code " + std::to_string(result) + " and " +
                                   std::to_string(errors) + " [ERR!] lines");
            }
        }
        Recover();
        return;
    }
    _current = "CloseDevice";
    _ctx.api.closeDevice();
}

}  // namespace kvtsoak
