// Hands every finding of the analysis to several report writers.
#pragma once

#include <vector>

#include "tools/logreport/ReportModel.h"

namespace logreport {

class SinkList : public AnalysisSink {
public:
    void Add(AnalysisSink& sink) { _sinks.push_back(&sink); }

    void OnLine(const LineRecord& r) override { for (auto* s : _sinks) s->OnLine(r); }
    void OnOperation(const Operation& o) override { for (auto* s : _sinks) s->OnOperation(o); }
    void OnFailure(const Failure& f) override { for (auto* s : _sinks) s->OnFailure(f); }
    void OnTransport(const TransportCall& c) override { for (auto* s : _sinks) s->OnTransport(c); }
    void OnLane(const LaneInfo& l) override { for (auto* s : _sinks) s->OnLane(l); }
    void OnEnd(const Notes& n) override { for (auto* s : _sinks) s->OnEnd(n); }

private:
    std::vector<AnalysisSink*> _sinks;
};

}  // namespace logreport
