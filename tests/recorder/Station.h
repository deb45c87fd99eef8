// A round trip through the recorder, as a user makes it: a copy of the build's deploy
// folder as the station, where the recorder stands in front of the simulated camera
// (the "real" library, in real\ with its own scenario) while a program runs; then the
// same path laid out again as the development machine, where the simulated camera
// replays the recording (KVTSIM_RECORDING) with no scenario at all. The station's
// folder is kept beside it as recorded\ for the comparison; the same path can also run
// the program on the simulated camera alone.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "simulator/recording/RecordingFormat.h"
#include "support/TestSupport.h"

namespace rectest {

// A program of the deploy folder (or a test driver copied into it) and how it runs.
// "{dir}" in an argument stands for the folder it runs in (with its backslash).
struct Program {
    std::string exe;
    std::vector<std::string> args;
    std::string input;                 // standard input
    std::vector<std::string> folders;  // made below the folder before the run
};

// One run, with what the comparison looks at.
struct Outcome {
    kvttest::ProcessResult process;
    std::vector<std::string> out;      // standard output, run-dependent values masked
    std::vector<std::string> log;      // KvtDll.log, stamps removed, values masked
    std::map<std::string, std::string> files;  // the folder's files but the set-up's
    std::string journal;               // the simulated camera's journal (replays)
};

// Lines with what differs between any two runs masked: time stamps and durations,
// the process's memory figures and ids, find handles, the transport's function
// addresses (the recorder's are not the simulated camera's), the clock.
std::vector<std::string> Masked(const std::vector<std::string>& lines);

class Station {
public:
    explicit Station(const std::string& prefix);

    const std::string& Folder() const { return _station; }   // the path both runs use
    std::string Recorded() const { return _base + "recorded\\"; }
    std::string Recording() const { return _base + "rec\\session.rec"; }

    // Lays out the station with the recorder in front of the simulated camera on
    // `scenario`, runs the program and keeps the folder as Recorded().
    Outcome Record(const std::string& scenario, const Program& program);
    // Lays out the same path again with the simulated camera on `scenario` and no
    // recorder, and runs the program: what the station gives without the recorder.
    Outcome Direct(const std::string& scenario, const Program& program);
    // Lays out the same path again with the simulated camera replaying `recording`
    // (default: Recording()) and runs the program.
    Outcome Replay(const Program& program, const std::string& recording = std::string());

    bool Ok() const { return _ok; }
    void Remove() const { kvttest::RemoveTree(_base); }

private:
    bool LayOut(const Program& program);
    Outcome Execute(const Program& program);

    std::string _base;
    std::string _station;
    bool _ok = true;
};

// The lines of a recording without its comments.
std::vector<std::string> RecordingLines(const std::string& path);
// Its call lines parsed.
std::vector<kvtrec::CallLine> RecordedCalls(const std::string& path);

}  // namespace rectest
