// CAutoTimer: times one transport call. Construction records the elapsed time of the
// global timer and the selected camera; destruction writes
// "[TIME]  nnnnnn msec. : Camera[i] : <label>" and commits.
// Internal to Corvane (the factory API library has a class of its own by this name).
#pragma once

#include <cstdint>
#include <string>

class CAutoTimer {
public:
    explicit CAutoTimer(std::string label) noexcept;
    virtual ~CAutoTimer();

    CAutoTimer(const CAutoTimer&) = delete;
    CAutoTimer& operator=(const CAutoTimer&) = delete;

private:
    std::int64_t _StartTime;   // milliseconds of the global timer at construction
    unsigned _CameraIndex;     // camera selected at construction
    std::string _Label;
};
