// Load and unload of Corvane.dll: log start-up, the module handle published in
// "SHARED_NAME_HANDLE" (every CFilePath of every module finds the core library's
// folder through it), and the reverse at unload.
#include <new>

#include "common/Exception.h"
#include "common/Handles.h"
#include "common/LogBanner.h"
#include "common/LogFile.h"
#include "common/LogTexts.h"
#include "common/SharedMemory.h"
#include "common/Win32.h"
#include "core/device/DeviceLifecycle.h"

namespace {

kvtlog::LogStream s_log;
const char* const kModuleName = kvtlog::text::kCoreModule;

// Held from load to unload, so the published handle outlives the short-lived block
// objects that other code opens around a single read.
CCommonModuleSharedMemory* m_pHandleSharedMemory = nullptr;

void LogFailure(const char* message) {
    kvtlog::Stamp(s_log) << "[ERR!] - " << message << '\n';
    kvtlog::CommitLog(s_log);
}

// Every load in every process stores its own handle; the last one wins. A handle that
// does not fit the block's 32-bit word is refused, never cut.
void PublishModuleHandle(HMODULE module) {
    if (m_pHandleSharedMemory == nullptr) {
        m_pHandleSharedMemory = new (std::nothrow) CCommonModuleSharedMemory;
        if (m_pHandleSharedMemory == nullptr) {
            LogFailure("[VALU] m_pHandleSharedMemory");
            return;
        }
    }
    if (!kvt::ModuleHandleFitsWord(module)) {
        LogFailure("[VALU] hModule (does not fit 32 bits, not published)");
        return;
    }
    const bool stored = [&] {
        kvt::BlockAccess access(*m_pHandleSharedMemory);
        return access.Write(kvt::ModuleHandleToWord(module));
    }();
    if (!stored) {
        LogFailure("[VALU] m_pHandleSharedMemory->GetpSharedMemory()");
    }
}

void OnLoad(HMODULE module) {
    kvtlog::StartLibraryLog(s_log, kModuleName);
    kvtlog::WriteCurrentTime(s_log);
    PublishModuleHandle(module);
}

void OnUnload() {
    TerminateApiManager();
    delete m_pHandleSharedMemory;
    m_pHandleSharedMemory = nullptr;
    kvtlog::StopLibraryLog(s_log, kModuleName);
}

}  // namespace

// Thread attach and detach do nothing; the library always reports success.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    try {
        if (reason == DLL_PROCESS_ATTACH) {
            OnLoad(instance);
        } else if (reason == DLL_PROCESS_DETACH) {
            OnUnload();
        }
    } catch (CException* e) {
        delete e;
    } catch (...) {
    }
    return TRUE;
}
