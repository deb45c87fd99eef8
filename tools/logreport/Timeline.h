// The operations the page's timeline draws, at most kMaxOperations of them: failures
// and unpaired frames first, then the top-level frames, then the longest others. The
// processes get tracks: a process that starts after another ended takes its track.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/logreport/PageText.h"
#include "tools/logreport/ReportModel.h"

namespace logreport {

class Timeline : public AnalysisSink {
public:
    static constexpr std::size_t kMaxOperations = 20000;
    static constexpr std::size_t kMaxLanes = 1000;

    void OnOperation(const Operation& op) override;
    void OnLane(const LaneInfo& lane) override;

    // {"lanes":[...],"ops":[...],"total":n}: see the page's script for the fields.
    std::string Json(PageText& text) const;
    std::uint64_t Total() const { return _total; }
    std::size_t Kept() const { return _ops.size(); }

private:
    struct Slot {
        Operation op;
        std::uint64_t rank;   // higher is kept first
    };
    std::vector<Slot> _ops;   // a min-heap on rank once full
    std::vector<LaneInfo> _lanes;
    std::uint64_t _total = 0;
};

}  // namespace logreport
