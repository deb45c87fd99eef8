// The reading end of the two log channels: attached as an opener (so the product's
// writes are accepted), it waits for the data events, copies each block under the
// channel mutex, prints the log text and acknowledges every write.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "common/Handles.h"
#include "common/Win32.h"
#include "tools/logmonitor/MonitorOptions.h"

class LogMonitor {
public:
    LogMonitor(const MonitorOptions& options, std::FILE* out, std::FILE* status);
    ~LogMonitor();
    LogMonitor(const LogMonitor&) = delete;
    LogMonitor& operator=(const LogMonitor&) = delete;

    // Opens both channels with the product's sizes; false (and a status line) if either
    // cannot be opened.
    bool Attach();
    // Runs until `stop` is set or the --count is reached; false if a wait failed.
    bool Run(HANDLE stop);
    // Closes both channels (the openers word drops again).
    void Detach();

private:
    void OnLogWrite();
    void OnCommandWrite();
    void PrintText(const char* text, std::size_t length);

    MonitorOptions _options;
    std::FILE* _out;
    std::FILE* _status;
    HANDLE _hLog = nullptr;
    HANDLE _hCommand = nullptr;
    unsigned long _lastLogCount = 0;
    unsigned long _lastCommandCount = 0;
    unsigned long _printed = 0;
    std::vector<char> _block;
};
