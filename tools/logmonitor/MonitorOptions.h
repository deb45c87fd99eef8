// Command line of KvtLogMonitor.
#pragma once

#include <string>

struct MonitorOptions {
    bool toUtf8 = false;         // --utf8: convert the log text to UTF-8
    unsigned codePage = 0;       // --codepage N: the text's code page (0: the ANSI one)
    unsigned long count = 0;     // --count N: end after N log texts (0: until Ctrl+C)
};

extern const char kMonitorUsage[];

// False with a reason in `error` for an unknown option or a bad number.
bool ParseMonitorOptions(int argc, char** argv, MonitorOptions& options, std::string& error);
