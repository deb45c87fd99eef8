// What the robustness driver's modes share: the bound exports, the simulated camera's
// test controls and the folder the driver runs in (its current directory).
#pragma once

#include <string>

#include "support/FactoryApi.h"
#include "support/SimCamera.h"

namespace robust {

struct DriverContext {
    kvttest::FactoryApi api;
    kvttest::SimCamera* sim = nullptr;
    std::string folder;   // the current directory, with a trailing backslash
};

// Loads the simulated camera from the folder first, so that its test controls are bound
// and faults can be set before the library's first open (Corvane later loads the same
// file and gets the same module), then "oxrmsg.dll", and binds every export. False
// (with an "@@ load failed" line) when something is missing.
bool LoadLibraries(DriverContext& ctx);

// Reads what was appended to "KvtDll.log" (in the current directory) since the mark.
class LogTail {
public:
    LogTail();
    // Text appended since construction or the last Since call, which moves the mark.
    std::string Since();

private:
    unsigned long long _offset = 0;
};

// How often `tag` occurs in `text` (a log tag occurs once per line).
unsigned CountTag(const std::string& text, const std::string& tag);

// One "@@ ..." line on standard output, flushed at once (a crash after it keeps it).
void Emit(const std::string& line);

}  // namespace robust
