// The factory API library's own scope timer (distinct from the core library's class
// of the same name): its destructor writes "<label> = <ms> msec." to standard output
// and, stamped, to the log.
#pragma once

#include <cstdint>
#include <string>

#include "common/LogStream.h"

namespace kvtq517 {

class CAutoTimer {
public:
    // Records the start time from the global timer; the label starts empty.
    explicit CAutoTimer(kvtlog::LogStream& log) noexcept;
    virtual ~CAutoTimer();

    CAutoTimer(const CAutoTimer&) = delete;
    CAutoTimer& operator=(const CAutoTimer&) = delete;

    void SetLabel(std::string label) noexcept;

    // "<label> = " and the milliseconds right-aligned in 6 characters, " msec.".
    static std::string FormatLine(const std::string& label, std::uint32_t elapsedMs);

private:
    kvtlog::LogStream& _Log;
    std::int64_t _StartTime;
    std::string _Label;
};

}  // namespace kvtq517
