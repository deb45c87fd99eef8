// The one clock of the three libraries: CGlobalTimer and the time-stamp prefix _gt.
// Both live in Corvane and are exported; the other libraries stamp their log lines
// on the same time base.
#pragma once

#include <cstdint>
#include <string>

#include "common/ExportMacros.h"

class CORVANE_API CGlobalTimer {
public:
    static CGlobalTimer& GetInstance();

    // Restarts the time base; writes the restart line (without time stamp) to the log.
    void Start();
    // Milliseconds since the last Start. Stores the current reading in the counter slot.
    std::int64_t GetElapsedTime() const;

private:
    CGlobalTimer();
    virtual ~CGlobalTimer();
    CGlobalTimer(const CGlobalTimer&) = delete;
    CGlobalTimer& operator=(const CGlobalTimer&) = delete;

    std::int64_t* _pCounter;           // the counter slot, heap-allocated

    static std::int64_t _StartCount;   // performance-counter reading of the last Start
    static std::int64_t _Frequency;    // performance-counter frequency
};

// "<elapsed ms right-aligned in width> | ": the prefix of every stamped log line.
CORVANE_API std::string _gt(const unsigned long& width) noexcept;
