#include "factory_api/PropertySaveWait.h"

#include "common/Win32.h"

namespace kvtq517 {
namespace {

void __stdcall SleepBeforeSave(unsigned long milliseconds) {
    ::Sleep(milliseconds);
}

PropertySaveWaitFunction s_saveWait = &SleepBeforeSave;

}  // namespace

void WaitBeforePropertySave() {
    s_saveWait(kPropertySaveWaitMs);
}

PropertySaveWaitFunction ReplacePropertySaveWait(PropertySaveWaitFunction wait) noexcept {
    PropertySaveWaitFunction previous = s_saveWait;
    s_saveWait = wait != nullptr ? wait : &SleepBeforeSave;
    return previous;
}

}  // namespace kvtq517
