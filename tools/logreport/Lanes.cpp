#include "tools/logreport/Lanes.h"

#include <algorithm>
#include <limits>

namespace logreport {
namespace {

// A line continues a lane's clock when it is at most this much behind it (lines
// composed earlier and committed later) or ahead of it.
constexpr std::uint32_t kBehindTolerance = 250;
constexpr std::uint32_t kAheadTolerance = 10000;
// A restart not placed within this many stamped lines is given up.
constexpr unsigned kRestartPatience = 256;
constexpr std::size_t kRestartTimesKept = 64;

bool Continues(const Lane& lane, std::uint32_t stamp) {
    return static_cast<std::uint64_t>(stamp) + kBehindTolerance >= lane.clock &&
           static_cast<std::uint64_t>(stamp) <= static_cast<std::uint64_t>(lane.clock) + kAheadTolerance;
}

// How far the stamp is from the lane's clock; going back costs more than going on.
std::uint64_t Distance(std::uint32_t clock, std::uint32_t stamp) {
    return stamp >= clock ? static_cast<std::uint64_t>(stamp - clock)
                          : static_cast<std::uint64_t>(clock - stamp) * 4;
}

}  // namespace

Lane& LaneRouter::NewLane(std::uint64_t line, bool startSeen) {
    auto lane = std::make_unique<Lane>();
    lane->info.id = _nextId++;
    lane->info.startSeen = startSeen;
    lane->info.firstLine = line;
    lane->info.lastLine = line;
    _live.push_back(std::move(lane));
    return *_live.back();
}

Lane& LaneRouter::Begin(std::uint64_t line) {
    return NewLane(line, true);
}

void LaneRouter::ApplyRestart(Lane& lane) {
    lane.epochBase += std::max(lane.epochMax, lane.clock);
    lane.epochMax = 0;
    lane.clock = 0;
    lane.now = lane.epochBase;
    ++lane.info.restarts;
    if (lane.info.restartTimes.size() < kRestartTimesKept) {
        lane.info.restartTimes.push_back(lane.epochBase);
    }
}

Lane* LaneRouter::Restart(std::uint64_t line) {
    if (_live.empty()) {
        Lane& lane = NewLane(line, false);
        ApplyRestart(lane);
        return &lane;
    }
    if (_live.size() == 1) {
        ApplyRestart(*_live.front());
        return _live.front().get();
    }
    ++_pendingRestarts;
    _pendingAge = 0;
    return nullptr;
}

Lane& LaneRouter::Route(std::uint32_t stamp, std::uint64_t line,
                        const std::function<bool(const Lane&)>& prefer) {
    if (_live.empty()) {
        return NewLane(line, false);
    }
    if (_live.size() > 1) {
        ++_notes.contestedLines;
    }
    if (_pendingRestarts > 0 && ++_pendingAge > kRestartPatience) {
        DropPendingRestarts();
    }
    bool anyPreferred = false;
    if (prefer) {
        for (const auto& lane : _live) {
            anyPreferred = anyPreferred || prefer(*lane);
        }
    }
    auto candidate = [&](const Lane& lane) { return !anyPreferred || prefer(lane); };

    if (_pendingRestarts == 0) {
        if (_live.size() == 1) {
            return *_live.front();
        }
        if (_previous != nullptr && _previous->live && candidate(*_previous) &&
            Continues(*_previous, stamp)) {
            return *_previous;
        }
    } else if (_previous != nullptr && _previous->live && candidate(*_previous) &&
               Continues(*_previous, stamp)) {
        return *_previous;
    }
    Lane* best = nullptr;
    bool restart = false;
    std::uint64_t bestCost = std::numeric_limits<std::uint64_t>::max();
    for (const auto& lane : _live) {
        if (!candidate(*lane)) {
            continue;
        }
        const std::uint64_t cost = Distance(lane->clock, stamp);
        if (cost < bestCost) {
            bestCost = cost;
            best = lane.get();
            restart = false;
        }
        // The hypothesis that this lane's timer restarted: its clock would be at zero.
        if (_pendingRestarts > 0 && stamp < bestCost && stamp < cost) {
            bestCost = stamp;
            best = lane.get();
            restart = true;
        }
    }
    if (restart) {
        --_pendingRestarts;
        ApplyRestart(*best);
    }
    return *best;
}

void LaneRouter::Advance(Lane& lane, std::uint32_t stamp, std::uint64_t line) {
    lane.clock = stamp;
    lane.epochMax = std::max(lane.epochMax, stamp);
    lane.now = lane.epochBase + stamp;
    lane.info.span = std::max(lane.info.span, lane.now);
    lane.info.lastLine = line;
    _previous = &lane;
}

void LaneRouter::End(Lane& lane) {
    lane.live = false;
    lane.info.endSeen = true;
    for (auto it = _live.begin(); it != _live.end(); ++it) {
        if (it->get() == &lane) {
            _ended = std::move(*it);
            _live.erase(it);
            break;
        }
    }
    _previous = _ended.get();
}

void LaneRouter::DropPendingRestarts() {
    _notes.unattributedRestarts += _pendingRestarts;
    _pendingRestarts = 0;
    _pendingAge = 0;
}

}  // namespace logreport
