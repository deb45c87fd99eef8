// The command line of KvtLogReport.
#pragma once

#include <string>
#include <vector>

namespace logreport {

struct ReportOptions {
    std::string logPath;
    std::string htmlPath;     // empty: no HTML page
    unsigned codePage = 0;    // of the log's text; 0: the ANSI code page
    bool help = false;
};

// Parses the arguments (without the program name); false with a message when they
// are not usable.
bool ParseOptions(const std::vector<std::string>& args, ReportOptions& options, std::string& error);

extern const char kUsage[];

}  // namespace logreport
