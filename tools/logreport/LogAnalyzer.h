// Reads the lines of a log one at a time and tells the sink what it finds: the lines
// (with their process), the operations, the failures, the transport calls, the
// processes and, at the end, the notes on what it could not read or pair.
#pragma once

#include <string_view>
#include <vector>

#include "tools/logreport/Lanes.h"
#include "tools/logreport/LogReader.h"
#include "tools/logreport/OperationPairing.h"
#include "tools/logreport/ReportModel.h"

namespace logreport {

class LogAnalyzer {
public:
    explicit LogAnalyzer(AnalysisSink& sink) : _sink(sink), _router(_notes), _pairing(sink, _notes) {}

    void Feed(const RawLine& line);
    // Ends every process still open and hands over the notes.
    void Finish(const LogReader& reader);

    const Notes& Result() const { return _notes; }

private:
    void Handle(std::string_view text, std::uint64_t number);
    void HandleStamped(const LogLine& line, LineRecord& record);
    void EndLane(Lane& lane);

    AnalysisSink& _sink;
    Notes _notes;
    LaneRouter _router;
    OperationPairing _pairing;
    std::vector<std::string_view> _pieces;
};

// Seconds (since 1601) of an asctime text ("Wed Jan  2 03:04:05 2019"), -1 if it is none.
std::int64_t AscTimeSeconds(std::string_view text);

}  // namespace logreport
