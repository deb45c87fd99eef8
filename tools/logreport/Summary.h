// The figures of the summary: per operation, event procedure and library step its
// count, failures and times; the failures with their chains; the transport calls per
// camera and camera-side procedure. Every table has a bounded number of rows, so the
// memory does not grow with the log.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/logreport/ReportModel.h"

namespace logreport {

struct OperationStats {
    std::uint64_t count = 0;
    std::uint64_t failed = 0;
    std::uint64_t unpaired = 0;     // no exit line
    Millis total = 0;               // over the occurrences with an exit line
    Millis slowest = 0;
    std::uint64_t slowestLine = 0;
    std::uint64_t slowestId = 0;

    Millis Timed() const { return static_cast<Millis>(count - unpaired); }
    double Mean() const { return Timed() > 0 ? static_cast<double>(total) / static_cast<double>(Timed()) : 0.0; }
};

struct TransportStats {
    std::uint64_t count = 0;
    std::uint64_t total = 0;
    std::uint32_t slowest = 0;
};

using StatsTable = std::map<std::string, OperationStats, std::less<>>;
using TransportTable = std::map<std::string, TransportStats, std::less<>>;

struct CameraTransport {
    TransportTable procedures;      // camera-side procedures ("Evnt" labels)
    TransportTable functions;       // the other transport functions
};

class Summary : public AnalysisSink {
public:
    static constexpr std::size_t kMaxRows = 2000;        // per table; more go to one row
    static constexpr std::size_t kMaxFailures = 500;     // kept in full
    static constexpr std::size_t kMaxLanes = 1000;
    static constexpr char kOtherNames[] = "(other names)";
    static constexpr unsigned kOtherCamera = 0xFFFFFFFFu;   // cameras beyond the kept ones

    void OnOperation(const Operation& op) override;
    void OnFailure(const Failure& failure) override;
    void OnTransport(const TransportCall& call) override;
    void OnLane(const LaneInfo& lane) override;
    void OnEnd(const Notes& notes) override { _notes = notes; }

    const StatsTable& Exports() const { return _exports; }
    const StatsTable& Procedures() const { return _procedures; }
    const StatsTable& Steps() const { return _steps; }
    const std::map<unsigned, CameraTransport>& Transport() const { return _transport; }
    const std::vector<Failure>& Failures() const { return _failures; }
    std::uint64_t FailureCount() const { return _failureCount; }
    const std::vector<LaneInfo>& Lanes() const { return _lanes; }
    std::uint64_t LaneCount() const { return _laneCount; }
    std::uint64_t OperationCount() const { return _operationCount; }
    const Notes& GetNotes() const { return _notes; }

private:
    StatsTable _exports;
    StatsTable _procedures;
    StatsTable _steps;
    std::map<unsigned, CameraTransport> _transport;
    std::vector<Failure> _failures;
    std::uint64_t _failureCount = 0;
    std::vector<LaneInfo> _lanes;
    std::uint64_t _laneCount = 0;
    std::uint64_t _operationCount = 0;
    Notes _notes;
};

// The row of `name`, or the shared row once the table is full.
template <class Table>
typename Table::mapped_type& RowOf(Table& table, std::string_view name, std::size_t maxRows) {
    auto it = table.find(name);
    if (it != table.end()) {
        return it->second;
    }
    if (table.size() + 1 >= maxRows) {
        return table[Summary::kOtherNames];
    }
    return table.emplace(std::string(name), typename Table::mapped_type{}).first->second;
}

}  // namespace logreport
