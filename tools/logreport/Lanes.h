// The processes of a log. Their lines interleave at commit granularity and carry no
// process number, so each process is a lane with its own clock: the core library's
// load banner starts one, its unload banner ends it, and while several are live a
// line goes to the lane whose clock it continues. Every lane keeps its own time axis
// across the global timer's restarts.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "tools/logreport/ReportModel.h"

namespace logreport {

struct OpenFrame {
    Operation op;
    std::vector<ChainLine> chain;        // "[ERR!]" lines inside, children's included
    std::size_t chainDropped = 0;
    std::size_t directSince = 0;         // chain lines written since the last child
    std::vector<Failure> pending;        // failed children, until this frame's result
    std::string firstChild;
    bool contested = false;              // opened while several processes were running
};

struct Lane {
    LaneInfo info;
    bool live = true;
    std::uint32_t clock = 0;             // the last time stamp
    std::uint32_t epochMax = 0;          // the largest stamp since the last restart
    Millis epochBase = 0;
    Millis now = 0;
    std::vector<OpenFrame> stack;
    bool idle = false;                   // `idleSince` holds the first time with no frame open
    Millis idleSince = 0;
    bool orphanOpen = false;             // "[ERR!]" lines outside any frame, in a row
    Failure orphan;
};

class LaneRouter {
public:
    explicit LaneRouter(Notes& notes) : _notes(notes) {}

    // A process starts: its core library's load banner.
    Lane& Begin(std::uint64_t line);
    // The lane of a stamped line. Where `prefer` accepts some live lanes (an exit line
    // and the lanes with its entry open), only those are considered.
    Lane& Route(std::uint32_t stamp, std::uint64_t line,
                const std::function<bool(const Lane&)>& prefer = nullptr);
    // Moves the lane's clock to the stamp.
    void Advance(Lane& lane, std::uint32_t stamp, std::uint64_t line);
    // The timer's restart line: applied to the one live lane, or to the lane whose next
    // line starts again from zero. Returns the lane when it is known now.
    Lane* Restart(std::uint64_t line);
    // The lane of the previous line (also an ended one), or null.
    Lane* Previous() const { return _previous; }
    void SetPrevious(Lane* lane) { _previous = lane; }
    // The process ended; the lane stays the previous one until another line comes.
    void End(Lane& lane);
    // Every live lane, in the order they started.
    const std::vector<std::unique_ptr<Lane>>& Live() const { return _live; }
    // Restarts never given to a lane (counted in the notes).
    void DropPendingRestarts();

private:
    Lane& NewLane(std::uint64_t line, bool startSeen);
    void ApplyRestart(Lane& lane);

    Notes& _notes;
    std::vector<std::unique_ptr<Lane>> _live;
    std::unique_ptr<Lane> _ended;        // the last ended lane, kept for its last lines
    Lane* _previous = nullptr;
    unsigned _nextId = 1;
    unsigned _pendingRestarts = 0;
    unsigned _pendingAge = 0;
};

}  // namespace logreport
