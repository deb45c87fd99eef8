#include "core/GlobalTimer.h"

#include <cstdio>

#include "common/LogFile.h"
#include "common/LogTexts.h"
#include "common/LogTimeStamp.h"
#include "common/Win32.h"

namespace {
kvtlog::LogStream s_log;

std::int64_t ReadCounter() {
    LARGE_INTEGER v;
    ::QueryPerformanceCounter(&v);
    return v.QuadPart;
}
}  // namespace

std::int64_t CGlobalTimer::_StartCount = 0;
std::int64_t CGlobalTimer::_Frequency = 0;

CGlobalTimer& CGlobalTimer::GetInstance() {
    static CGlobalTimer instance;
    return instance;
}

CGlobalTimer::CGlobalTimer() : _pCounter(new std::int64_t(0)) {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    _Frequency = f.QuadPart;
}

CGlobalTimer::~CGlobalTimer() {
    delete _pCounter;
}

void CGlobalTimer::Start() {
    std::fputs("Global Timer Restart\n", stdout);
    s_log << kvtlog::text::kTimerRestart << '\n';
    kvtlog::CommitLog(s_log);
    _StartCount = ReadCounter();
    std::printf("start : %lu\n", static_cast<unsigned long>(_StartCount & 0xFFFFFFFFu));
    std::fflush(stdout);
}

std::int64_t CGlobalTimer::GetElapsedTime() const {
    *_pCounter = ReadCounter();
    if (_Frequency == 0) {
        return 0;
    }
    return (*_pCounter - _StartCount) * 1000 / _Frequency;
}

std::string _gt(const unsigned long& width) noexcept {
    try {
        return kvtlog::FormatTimeStamp(CGlobalTimer::GetInstance().GetElapsedTime(), width);
    } catch (...) {
        return std::string();
    }
}
