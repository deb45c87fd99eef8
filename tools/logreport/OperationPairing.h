// Pairs the frame lines of one process into operations: an entry line opens a frame,
// the exit line with the same entry text closes it with its result, "[ERR!]" lines
// are collected into the failure chain of the frame they were written in. A failed
// frame hands its chain to its parent; the failure is reported at the outermost frame
// that failed with it. What cannot be paired is noted, never guessed into a result.
#pragma once

#include <cstdint>
#include <string_view>

#include "tools/logreport/Lanes.h"
#include "tools/logreport/ReportModel.h"

namespace logreport {

class OperationPairing {
public:
    static constexpr std::size_t kMaxDepth = 64;
    static constexpr std::size_t kMaxChain = 64;
    static constexpr std::size_t kMaxPending = 8;

    OperationPairing(AnalysisSink& sink, Notes& notes) : _sink(sink), _notes(notes) {}

    // `contested`: other processes are running, so the frame may yet prove another's.
    void Entry(Lane& lane, const LogLine& line, std::uint64_t number, bool contested);
    void Exit(Lane& lane, const LogLine& line, std::uint64_t number);
    void FailureLine(Lane& lane, std::string_view body, std::uint64_t number);
    // Any other line of the lane: ends a run of "[ERR!]" lines outside any frame.
    void OtherLine(Lane& lane);
    // The process ended (or the log did): its open frames are closed as unpaired,
    // except those opened while other processes ran, which go on in `heir` if given.
    void EndLane(Lane& lane, Lane* heir = nullptr);

    // Whether the lane has a frame open that an exit line with this name closes.
    static bool HasOpen(const Lane& lane, std::string_view name);
    // Whether the lane's innermost open frame has this name.
    static bool HasOnTop(const Lane& lane, std::string_view name);
    // Whether an exported operation is open in the lane (a program calls one at a time).
    static bool HasExportOpen(const Lane& lane);

private:
    OpenFrame NewFrame(Lane& lane, std::string_view name);
    void Close(Lane& lane, OpenFrame& frame, std::string_view detail, long result,
               std::uint64_t number);
    void Abandon(Lane& lane, OpenFrame& frame);
    void HandOn(Lane& lane, OpenFrame& frame, Failure failure);
    static OpenFrame* ParentOf(Lane& lane, const OpenFrame& frame);
    Failure MakeFailure(const Lane& lane, const OpenFrame& frame) const;
    void FlushOrphan(Lane& lane);
    void AddChainLine(std::vector<ChainLine>& chain, std::size_t& dropped, ChainLine line);

    AnalysisSink& _sink;
    Notes& _notes;
    std::uint64_t _nextId = 1;
};

}  // namespace logreport
