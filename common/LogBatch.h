// The fast log: with KVT_FAST_LOG=1 in the environment when the libraries load, the
// committed text of every library of the process gathers in one batch, in commit
// order, and goes to "KvtDll.log" with one open and one write when the outermost
// operation of the process ends (a boundary or class frame, LogFrame.h), when the
// batch is full, and when a library unloads. Text committed outside any operation
// (load and unload banners) is written at once. The file receives the same bytes as
// in the default mode, where every commit opens, appends to and closes the file.
//
// The batch lives in a named mapping of this process ("KVT_LOG_BATCH_<process id>"):
// each library compiles its own log writer, and all of them must append to the one
// batch for their lines to keep the order of their commits. A library that finds the
// batch already there joins it whatever the environment says now, so the libraries of
// one process never mix the two modes once the first has chosen.
//
// What a crash can lose: the lines of the operation that was running. Several
// processes interleave whole operations. A write whose file cannot be opened loses
// that text only; the batch is emptied and later text is written as usual.
#pragma once

#include <cstddef>

namespace kvtlog {

// The environment switch: KVT_FAST_LOG is "1".
bool FastLogRequested() noexcept;

// Log start-up of a library: joins the process's batch, creating it when the fast log
// is requested. True when this library's commits now go through the batch.
bool JoinLogBatch() noexcept;
// Log shut-down: writes what waits in the batch and leaves it.
void LeaveLogBatch() noexcept;
bool InLogBatch() noexcept;

// Appends `size` bytes of committed text (line ends LF, written as CR LF); outside
// any operation the batch is written at once.
void AppendToLogBatch(const char* text, std::size_t size) noexcept;

// One operation: while any is running in the process, committed text waits in the
// batch; when the outermost one ends, the batch is written. Nothing without a batch.
class LogOperation {
public:
    LogOperation() noexcept;
    ~LogOperation();
    LogOperation(const LogOperation&) = delete;
    LogOperation& operator=(const LogOperation&) = delete;

private:
    bool _counted;
};

}  // namespace kvtlog
