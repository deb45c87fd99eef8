// What the analysis of a log finds, handed to the report writers as it is found:
// every line, every operation when its frame closes, every failure, every transport
// call, each process at the end, and the notes on what could not be read or paired.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tools/logreport/LogLine.h"

namespace logreport {

// Milliseconds on a process's own time axis: the time stamps with the time before each
// of the timer's restarts added, so that the axis keeps running across restarts.
using Millis = std::int64_t;

enum class OpKind : char {
    Export,      // an exported function of the factory API ("KVT_...", "MVT_...")
    Procedure,   // an event procedure, run inside an execute export
    Step,        // any other frame: the libraries' own steps
};

struct Operation {
    std::uint64_t id = 0;
    std::uint64_t parent = 0;      // 0: none (a frame of the process's top level)
    unsigned lane = 0;             // the process
    unsigned depth = 0;
    OpKind kind = OpKind::Step;
    std::string name;              // "KVT_OpenDevice", "GetBodyID"
    std::string procedure;         // execute exports: the procedure they ran
    Millis start = 0;
    Millis end = 0;
    bool hasEntry = true;          // false: the start is estimated
    bool hasExit = true;           // false: never closed (log cut, process gone)
    long result = 0;
    std::uint64_t firstLine = 0;
    std::uint64_t lastLine = 0;

    bool Failed() const { return hasExit && result != 0; }
    Millis Duration() const { return end > start ? end - start : 0; }
};

struct ChainLine {
    std::uint64_t line = 0;
    std::string text;              // "[ERR!] - [EVNT] FA_GetProperty"
};

// One failure, reported at the outermost frame that failed with it; the chain holds
// every "[ERR!]" line written on its way out, in order.
struct Failure {
    std::uint64_t operation = 0;   // id of that frame (0: outside any frame)
    std::string path;              // "KVT_ExecuteEventProcS > GetBodyID"
    std::string name;              // the failed frame's name (empty: outside any frame)
    std::string procedure;         // for an execute export: its procedure
    std::string innermost;         // the deepest frame that failed with it, if another
    bool hasResult = false;        // false: no exit line tells the result
    long result = 0;
    unsigned lane = 0;
    Millis time = 0;
    std::uint64_t line = 0;        // its exit line, or its first "[ERR!]" line
    std::vector<ChainLine> chain;
    std::size_t chainDropped = 0;  // lines beyond the kept ones
};

struct TransportCall {
    unsigned lane = 0;
    unsigned camera = 0;
    bool procedure = false;        // a camera-side procedure ("Evnt : <name>")
    std::string_view name;         // the procedure or the transport function
    std::uint32_t milliseconds = 0;
};

// A process: from the core library's load banner to its unload banner.
struct LaneInfo {
    unsigned id = 0;
    bool startSeen = false;        // false: the log begins inside this process
    bool endSeen = false;          // false: the log ends before its unload
    std::string startedAt;         // the local time logged at load (asctime layout)
    std::int64_t wallSeconds = -1; // that time in seconds, -1 if none
    std::uint64_t firstLine = 0;
    std::uint64_t lastLine = 0;
    Millis span = 0;               // its time axis' extent
    unsigned restarts = 0;
    std::vector<Millis> restartTimes;   // where the timer restarted (the first few)
    unsigned after = 0;            // the process of the line before its start (0: none)
    Millis afterTime = 0;          // that process's time then
};

// One line as the analysis saw it.
struct LineRecord {
    std::uint64_t number = 0;
    std::string_view text;         // the whole line (or piece of a mixed line)
    LineKind kind = LineKind::Text;
    unsigned lane = 0;             // 0: none yet
    bool failing = false;          // an "[ERR!]" line or an exit line with a failure
    Millis time = 0;
};

// What the report says it could not read or pair.
struct Notes {
    std::uint64_t lines = 0;
    std::uint64_t bytes = 0;
    std::uint64_t crLfLines = 0;
    bool tornLastLine = false;
    std::uint64_t tornLine = 0;
    std::uint64_t cutLines = 0;          // longer than the reader's limit
    std::uint64_t damagedLines = 0;      // control bytes, binary noise
    std::uint64_t unrecognisedLines = 0; // no time stamp and nothing known
    std::uint64_t mixedLines = 0;        // lines that held several commits
    std::uint64_t restarts = 0;
    std::uint64_t unattributedRestarts = 0;
    std::uint64_t contestedLines = 0;    // written while several processes were live
    std::uint64_t entriesWithoutExit = 0;
    std::uint64_t exitsWithoutEntry = 0;
    std::uint64_t tooDeep = 0;           // frames beyond the nesting limit
    std::uint64_t failuresNotKept = 0;
    unsigned long readError = 0;
    // The first few lines of each kind, for the reader to look at.
    std::vector<std::uint64_t> damagedExamples;
    std::vector<std::uint64_t> unrecognisedExamples;
    std::vector<std::pair<std::uint64_t, std::string>> unpairedEntries;   // line, name
    std::map<std::string, std::uint64_t> exitsWithoutEntryByName;

    static constexpr std::size_t kExamples = 20;
    static constexpr std::size_t kNames = 200;
};

class AnalysisSink {
public:
    virtual ~AnalysisSink() = default;
    virtual void OnLine(const LineRecord&) {}
    virtual void OnOperation(const Operation&) {}
    virtual void OnFailure(const Failure&) {}
    virtual void OnTransport(const TransportCall&) {}
    virtual void OnLane(const LaneInfo&) {}
    virtual void OnEnd(const Notes&) {}
};

}  // namespace logreport
