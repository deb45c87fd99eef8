#include "tools/logreport/Summary.h"

#include "tools/logreport/ExportNames.h"

namespace logreport {

void Summary::OnOperation(const Operation& op) {
    ++_operationCount;
    StatsTable* table = &_steps;
    std::string_view key = op.name;
    if (op.kind == OpKind::Procedure) {
        return;   // counted with the execute export that ran it
    }
    if (op.kind == OpKind::Export) {
        table = &_exports;
    }
    auto add = [&op](OperationStats& s) {
        ++s.count;
        if (op.Failed()) {
            ++s.failed;
        }
        if (!op.hasExit) {
            ++s.unpaired;
            return;
        }
        s.total += op.Duration();
        if (s.count - s.unpaired == 1 || op.Duration() > s.slowest) {
            s.slowest = op.Duration();
            s.slowestLine = op.firstLine;
            s.slowestId = op.id;
        }
    };
    add(RowOf(*table, key, kMaxRows));
    if (op.kind == OpKind::Export && IsExecuteExport(op.name)) {
        add(RowOf(_procedures, op.procedure.empty() ? std::string_view("(no procedure ran)")
                                                    : std::string_view(op.procedure),
                  kMaxRows));
    }
}

void Summary::OnFailure(const Failure& failure) {
    ++_failureCount;
    if (_failures.size() < kMaxFailures) {
        _failures.push_back(failure);
    }
}

void Summary::OnTransport(const TransportCall& call) {
    constexpr std::size_t kMaxCameras = 16;
    unsigned index = call.camera;
    if (_transport.size() >= kMaxCameras && _transport.count(index) == 0) {
        index = kOtherCamera;
    }
    CameraTransport& camera = _transport[index];
    TransportTable& table = call.procedure ? camera.procedures : camera.functions;
    TransportStats& s = RowOf(table, call.name, kMaxRows);
    ++s.count;
    s.total += call.milliseconds;
    if (call.milliseconds > s.slowest) {
        s.slowest = call.milliseconds;
    }
}

void Summary::OnLane(const LaneInfo& lane) {
    ++_laneCount;
    if (_lanes.size() < kMaxLanes) {
        _lanes.push_back(lane);
    }
}

}  // namespace logreport
