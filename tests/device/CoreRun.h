// Runs the Corvane child program (CoreChild) in a folder of its own, as a deployed
// program would run: the child, Corvane.dll and a transport library beside them, and
// gathers what it left behind: its step results, KvtDll.log and the simulator journal.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "support/SimCamera.h"
#include "support/TestSupport.h"

namespace coretest {

struct CoreSetup {
    // File in build/bin copied beside Corvane as "KVTItoPTP.dll"; empty: none at all.
    std::string transport = "KVTItoPTP.dll";
    // Scenario written as "KVTItoPTP.ini" beside it; empty: the built-in scenario.
    std::string scenario;
    // More files written into the folder (name, content).
    std::vector<std::pair<std::string, std::string>> files;
};

struct CoreRun {
    kvttest::ProcessResult process;
    std::vector<std::string> results;       // the result of each step, in order
    std::vector<std::string> log;           // KvtDll.log without time stamps
    std::vector<kvttest::SimCall> journal;  // every transport call of the child
    std::string folder;

    // Transport calls of one function.
    unsigned Calls(const std::string& function) const;
    // Index of the first log line equal to `line` at or after `from`, or -1.
    int Find(const std::string& line, int from = 0) const;
};

// Runs the steps of CoreChild.cpp; the folder is removed afterwards unless `keep`.
CoreRun RunCore(const CoreSetup& setup, const std::vector<std::string>& steps,
                bool keep = false);

// The lines from `first` up to (not including) `last` of the log, for exact checks.
std::vector<std::string> Slice(const std::vector<std::string>& lines, int first, int last);

}  // namespace coretest
