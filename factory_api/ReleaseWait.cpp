#include "factory_api/ReleaseWait.h"

#include "common/Win32.h"

namespace kvtq517 {
namespace {

void __stdcall SleepFor(unsigned long milliseconds) {
    ::Sleep(milliseconds);
}

ReleaseWaitFunction s_wait = &SleepFor;

}  // namespace

void WaitBetweenReleaseWrites() {
    s_wait(kReleaseWriteWaitMs);
}

ReleaseWaitFunction ReplaceReleaseWait(ReleaseWaitFunction wait) noexcept {
    ReleaseWaitFunction previous = s_wait;
    s_wait = wait != nullptr ? wait : &SleepFor;
    return previous;
}

}  // namespace kvtq517
