// KvtLogReport run as a user runs it, a separate process on a log file, and its text
// summary read back into tables.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace logreporttest {

struct Row {
    unsigned long count = 0;
    unsigned long failed = 0;
    unsigned long unpaired = 0;
    long long total = 0;
    long long slowest = 0;
};

struct Report {
    kvttest::ProcessResult process;
    std::map<std::string, Row> exports;
    std::map<std::string, Row> procedures;
    std::map<std::string, Row> steps;
    // "Camera[0] FA_GetProperty" -> count (camera-side procedures only)
    std::map<std::string, unsigned long> transport;
    long failures = -1;
    long processes = -1;
    std::vector<std::string> failureLines;   // the lines of the failures section
    std::vector<std::string> notes;          // "- ..." lines, without the dash

    bool HasNote(const std::string& text) const;
    // Counts of a table as name -> count, for comparing with what a run did.
    static std::map<std::string, unsigned> Counts(const std::map<std::string, Row>& table);
};

// Runs KvtLogReport.exe of the build on `log` with extra arguments; waits at most
// `timeoutMs`.
Report RunReport(const std::string& log, const std::string& arguments = std::string(),
                 unsigned timeoutMs = 120000);

}  // namespace logreporttest
