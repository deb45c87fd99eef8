// KVT_OpenDevice and KVT_CloseDevice.
#include "common/Exception.h"
#include "common/LogFrame.h"
#include "common/SharedMemory.h"
#include "core/GlobalTimer.h"
#include "core/device/DeviceLifecycle.h"
#include "factory_api/ConcurrentConnection.h"
#include "factory_api/MemoryDiagnostics.h"
#include "factory_api/ModuleState.h"
#include "factory_api/plugin/PlugInFunctionLists.h"
#include "include/kvt_factory.h"

using namespace kvtq517;

namespace {

// The body number is not known until a plug-in reads it from the connected camera.
void ClearBodyID() {
    if (m_pBodyIDSharedMemory == nullptr) {
        kvt::Fail("[VALU] m_pBodyIDSharedMemory", 5);
    }
    kvt::BlockAccess access(*m_pBodyIDSharedMemory);
    if (!access.Clear()) {
        kvt::Fail("[VALU] m_pBodyIDSharedMemory", 5);
    }
}

}  // namespace

unsigned long __stdcall KVT_OpenDevice() {
    CGlobalTimer::GetInstance().Start();
    return kvtlog::RunFrame(ApiLog(), {"[KVTI] KVT_OpenDevice"}, [] {
        WriteMemoryDiagnostics(ApiLog());
        ClearBodyID();
        FailIfOdd(m_InitializingResult, "[VALU] m_InitializingResult");
        ExecuteInitializeFunc();
        const int opened = OpenDevice();
        if (opened != 0) {
            kvt::Fail("[FUNC] OpenDevice", static_cast<unsigned long>(opened));
        }
        FailIfOdd(ConfigureConcurrentConnection(), "[FUNC] ConfigureConcurrentConnection");
        m_DeviceOpened = 1;
    });
}

unsigned long __stdcall KVT_CloseDevice() {
    return kvtlog::RunFrame(ApiLog(), {"[KVTI] KVT_CloseDevice"}, [] {
        ExecuteTerminateFunc();
        FailIfOdd(static_cast<unsigned long>(CloseDevice()), "[FUNC] CloseDevice");
        m_DeviceOpened = 0;
        WriteMemoryDiagnostics(ApiLog());
    });
}
