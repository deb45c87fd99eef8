#include "factory_api/LibraryLifecycle.h"

#include <cstdint>
#include <iomanip>
#include <new>

#include "common/Exception.h"
#include "common/Handles.h"
#include "common/LogBanner.h"
#include "common/LogFile.h"
#include "common/LogFrame.h"
#include "common/SharedMemory.h"
#include "core/camera/SLRMonitor.h"
#include "factory_api/LibraryIdentity.h"
#include "factory_api/ModuleState.h"
#include "factory_api/plugin/EventProcRegistry.h"
#include "factory_api/plugin/PlugInDiscovery.h"
#include "factory_api/plugin/PlugInFunctionLists.h"

namespace kvtq517 {
namespace {

constexpr char kModuleName[] = "KvtQ517.dll";

kvtlog::LogStream s_log;

// Frame lines of the steps that write their entry line without the separator.
kvtlog::FrameLines StepFrame(const char* entry) {
    kvtlog::FrameLines lines{entry};
    lines.separator = false;
    return lines;
}

// Creates a named block object for the library's whole life; a block that cannot be
// created (no object or no view) fails with "[VALU] <pointer name>" (5).
template <class Block>
Block* CreateBlock(Block*& pointer, const char* pointerName) {
    if (pointer == nullptr) {
        pointer = new (std::nothrow) Block();
    }
    if (pointer == nullptr || pointer->GetpSharedMemory() == nullptr) {
        kvt::Fail(std::string("[VALU] ") + pointerName, 5);
    }
    return pointer;
}

template <class Object>
void DeleteAndClear(Object*& pointer) {
    delete pointer;
    pointer = nullptr;
}

// Steps 4 to 7 of the load: the four blocks of the library's life and their content.
void PublishLoadBlocks(HINSTANCE module) {
    CParserHandleSharedMemory* parser =
        CreateBlock(m_pParserHandleSharedMemory, "m_pParserHandleSharedMemory");
    {
        // A handle above 4 GB cannot travel in the 4-byte block: it is refused and the
        // block keeps 0, which the configuration check reports as "[VALU] hParser".
        const HMODULE handle = static_cast<HMODULE>(module);
        kvt::BlockAccess access(*parser);
        if (kvt::ModuleHandleFitsWord(handle)) {
            access.Write(kvt::ModuleHandleToWord(handle));
        } else {
            access.Write(std::uint32_t{0});
            kvtlog::Stamp(s_log) << "[ERR!] Module handle does not fit 32 bits - 0x" << std::hex
                                 << reinterpret_cast<std::uintptr_t>(handle) << std::dec << '\n';
            kvtlog::CommitLog(s_log);
        }
    }
    {
        kvt::BlockAccess access(*CreateBlock(m_pModelIDSharedMemory, "m_pModelIDSharedMemory"));
        access.Write(kModelID);
    }
    CreateBlock(m_pConfigurationSharedMemory, "m_pConfigurationSharedMemory");
    {
        kvt::BlockAccess access(*CreateBlock(m_pBodyIDSharedMemory, "m_pBodyIDSharedMemory"));
        access.Clear();
    }
}

}  // namespace

void OnProcessAttach(HINSTANCE module) noexcept {
    kvtlog::StartLibraryLog(s_log, kModuleName);
    kvtlog::FrameLines lines{"[FUNC] Load"};
    lines.header = false;
    lines.exitLine = false;
    lines.commitFailureLine = true;
    m_InitializingResult = kvtlog::RunFrame(s_log, lines, [&] { PublishLoadBlocks(module); });
    if (m_InitializingResult == 0) {
        m_InitializingResult = Initialize();
    }
}

void OnProcessDetach() noexcept {
    DeleteAndClear(m_pParserHandleSharedMemory);
    DeleteAndClear(m_pModelIDSharedMemory);
    DeleteAndClear(m_pConfigurationSharedMemory);
    // Kept by the library for its whole life, so released with the others.
    DeleteAndClear(m_pBodyIDSharedMemory);
    DeleteAndClear(m_pFileSharedMemory);
    DeleteAndClear(m_pFolderSharedMemory);
    DeleteAndClear(m_pSLRMonitor);
    Terminate();
    kvtlog::StopLibraryLog(s_log, kModuleName);
}

unsigned long Initialize() {
    return kvtlog::RunFrame(s_log, StepFrame("[FUNC] Initialize"), [] {
        CheckConfiguration();
        FailIfOdd(RegisterPlugInList(), "[FUNC] RegisterPlugInList");
        FailIfOdd(RegisterEventProcList(), "[FUNC] RegisterEventProcList");
        RegisterInitializeFuncList();
        RegisterTerminateFuncList();
    });
}

unsigned long Terminate() {
    return kvtlog::RunFrame(s_log, StepFrame("[FUNC] Terminate"), [] {
        FailIfOdd(DeregisterEventProcList(), "[FUNC] DeregisterEventProcList");
        FailIfOdd(DeregisterPlugInList(), "[FUNC] DeregisterPlugInList");
        DeregisterInitializeFuncList();
        DeregisterTerminateFuncList();
    });
}

unsigned long CheckConfiguration() {
    return kvtlog::RunFrame(s_log, StepFrame("[FUNC] CheckConfiguration"), [] {
        ReadPublishedModelID(s_log);
        ReadLibraryFilePath();
        CConfigurationSharedMemory configuration;
        kvt::BlockAccess access(configuration);
        if (!access.Write(kConfigurationWord)) {
            kvt::Fail("[VALU] SHARED_NAME_CONFIGURATION", 5);
        }
    });
}

}  // namespace kvtq517
