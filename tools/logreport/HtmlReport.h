// The report as one self-contained HTML page. The log text is written while the log
// is read (it comes first in the file and is shown last); the timeline, the tables
// and the script follow at the end, when the figures are known.
#pragma once

#include <string>

#include "tools/logreport/LogTextSection.h"
#include "tools/logreport/OutputFile.h"
#include "tools/logreport/PageText.h"
#include "tools/logreport/Summary.h"
#include "tools/logreport/Timeline.h"

namespace logreport {

class HtmlReport : public AnalysisSink {
public:
    explicit HtmlReport(unsigned codePage) : _text(codePage), _section(_out, _text) {}

    bool Begin(const std::string& path, const std::string& logName, unsigned long& error);
    bool End(const Summary& summary, unsigned long& error);

    void OnLine(const LineRecord& record) override { _section.Add(record); }
    void OnOperation(const Operation& op) override { _timeline.OnOperation(op); }
    void OnLane(const LaneInfo& lane) override { _timeline.OnLane(lane); }

private:
    void WriteHeader(const Summary& summary);
    void WriteStats(const char* id, const char* title, const StatsTable& table, const char* empty);
    void WriteFailures(const Summary& summary);
    void WriteTransport(const Summary& summary);
    void WriteProcesses(const Summary& summary);
    void WriteNotes(const Summary& summary);
    void WriteData();
    void Put(const std::string& html) { _out.Write(html); }
    std::string Html(std::string_view logBytes);

    OutputFile _out;
    PageText _text;
    LogTextSection _section;
    Timeline _timeline;
    std::string _logName;
};

}  // namespace logreport
