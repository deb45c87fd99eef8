#include "factory_api/FixedPause.h"

#include "common/Win32.h"

namespace kvtq517 {
namespace {

void __stdcall SleepFor(unsigned long milliseconds) {
    ::Sleep(milliseconds);
}

PauseFunction s_pause = &SleepFor;

}  // namespace

void Pause(unsigned long milliseconds) {
    s_pause(milliseconds);
}

PauseFunction ReplacePause(PauseFunction pause) noexcept {
    PauseFunction previous = s_pause;
    s_pause = pause != nullptr ? pause : &SleepFor;
    return previous;
}

}  // namespace kvtq517
