#include "tools/logreport/Timeline.h"

#include <algorithm>
#include <map>

#include "tools/logreport/PageText.h"

namespace logreport {
namespace {

std::uint64_t Rank(const Operation& op) {
    const std::uint64_t duration = static_cast<std::uint64_t>(std::min<Millis>(op.Duration(), (Millis{1} << 40) - 1));
    std::uint64_t rank = duration;
    if (op.depth == 0) {
        rank |= std::uint64_t{1} << 41;
    }
    if (op.Failed() || !op.hasExit) {
        rank |= std::uint64_t{1} << 42;
    }
    return rank;
}

char KindLetter(OpKind kind) {
    switch (kind) {
    case OpKind::Export: return 'e';
    case OpKind::Procedure: return 'p';
    default: return 's';
    }
}

// Where each process starts on the page's common axis: after the process whose line
// came before its start, at that process's time then; with both load times known, no
// earlier than the difference of those times.
std::map<unsigned, Millis> Offsets(const std::vector<LaneInfo>& lanes) {
    std::map<unsigned, Millis> offsets;
    std::map<unsigned, const LaneInfo*> byId;
    for (const LaneInfo& lane : lanes) {
        Millis offset = 0;
        const auto before = byId.find(lane.after);
        if (before != byId.end()) {
            const LaneInfo& other = *before->second;
            offset = offsets[other.id] + lane.afterTime;
            if (lane.wallSeconds >= 0 && other.wallSeconds >= 0) {
                offset = std::max(offset, offsets[other.id] + (lane.wallSeconds - other.wallSeconds) * 1000);
            }
        }
        offsets[lane.id] = offset;
        byId[lane.id] = &lane;
    }
    return offsets;
}

}  // namespace

void Timeline::OnOperation(const Operation& op) {
    ++_total;
    const auto byRank = [](const Slot& a, const Slot& b) { return a.rank > b.rank; };
    const std::uint64_t rank = Rank(op);
    if (_ops.size() < kMaxOperations) {
        _ops.push_back({op, rank});
        if (_ops.size() == kMaxOperations) {
            std::make_heap(_ops.begin(), _ops.end(), byRank);
        }
        return;
    }
    if (rank <= _ops.front().rank) {
        return;
    }
    std::pop_heap(_ops.begin(), _ops.end(), byRank);
    _ops.back() = {op, rank};
    std::push_heap(_ops.begin(), _ops.end(), byRank);
}

void Timeline::OnLane(const LaneInfo& lane) {
    if (_lanes.size() < kMaxLanes) {
        _lanes.push_back(lane);
    }
}

std::string Timeline::Json(PageText& text) const {
    // Lanes in the order they started, tracks given out greedily.
    std::vector<LaneInfo> lanes = _lanes;
    std::sort(lanes.begin(), lanes.end(), [](const LaneInfo& a, const LaneInfo& b) { return a.id < b.id; });
    const std::map<unsigned, Millis> offsets = Offsets(lanes);
    std::vector<Millis> trackEnds;
    std::string out = "{\"lanes\":[";
    for (std::size_t i = 0; i < lanes.size(); ++i) {
        const LaneInfo& lane = lanes[i];
        const Millis offset = offsets.at(lane.id);
        std::size_t track = 0;
        while (track < trackEnds.size() && trackEnds[track] > offset) {
            ++track;
        }
        if (track == trackEnds.size()) {
            trackEnds.push_back(0);
        }
        trackEnds[track] = offset + lane.span;
        std::string label = "process " + std::to_string(lane.id);
        if (!lane.startedAt.empty()) {
            label += ", started " + lane.startedAt;
        } else if (!lane.startSeen) {
            label += ", started before the log";
        }
        out += i == 0 ? "[" : ",[";
        out += std::to_string(lane.id) + "," + std::to_string(track) + "," + std::to_string(offset) +
               "," + std::to_string(lane.span) + ",";
        AppendJsonString(out, text.Utf8(label));
        out += ",[";
        for (std::size_t r = 0; r < lane.restartTimes.size(); ++r) {
            out += (r == 0 ? "" : ",") + std::to_string(lane.restartTimes[r]);
        }
        out += "]," + std::string(lane.endSeen ? "1" : "0") + "]";
    }
    out += "],\"ops\":[";
    std::vector<const Slot*> ops;
    for (const Slot& k : _ops) {
        ops.push_back(&k);
    }
    std::sort(ops.begin(), ops.end(), [](const Slot* a, const Slot* b) { return a->op.id < b->op.id; });
    bool first = true;
    for (const Slot* k : ops) {
        const Operation& op = k->op;
        if (offsets.count(op.lane) == 0) {
            continue;   // a process beyond the kept ones
        }
        out += first ? "[" : ",[";
        first = false;
        // id, parent, lane, depth, start, end, name, procedure, result, flags, first
        // line, last line, kind; flags: 1 exit line seen, 2 entry line seen.
        out += std::to_string(op.id) + "," + std::to_string(op.parent) + "," + std::to_string(op.lane) +
               "," + std::to_string(op.depth) + "," + std::to_string(op.start) + "," +
               std::to_string(op.end) + ",";
        AppendJsonString(out, op.name);
        out += ",";
        AppendJsonString(out, text.Utf8(op.procedure));
        out += "," + std::to_string(op.result) + "," +
               std::to_string((op.hasExit ? 1 : 0) | (op.hasEntry ? 2 : 0)) + "," +
               std::to_string(op.firstLine) + "," + std::to_string(op.lastLine) + ",\"" +
               KindLetter(op.kind) + "\"]";
    }
    out += "],\"total\":" + std::to_string(_total) + ",\"kept\":" + std::to_string(_ops.size()) + "}";
    return out;
}

}  // namespace logreport
