// The six monitor exports. They write no entry or exit lines, only their failure lines
// (each committed), and do not look at the device-open flag: a session may be opened
// before the device and may outlive it.
#include <new>

#include "common/Exception.h"
#include "common/LogFrame.h"
#include "core/camera/SLRMonitor.h"
#include "factory_api/ModuleState.h"
#include "include/kvt_factory.h"

using namespace kvtq517;

namespace {

template <class Body>
unsigned long RunMonitorExport(const char* name, Body&& body) noexcept {
    kvtlog::FrameLines lines{name};
    lines.header = false;
    lines.exitLine = false;
    lines.commitFailureLine = true;
    return kvtlog::RunFrame(ApiLog(), lines, std::forward<Body>(body));
}

CSLRMonitor& RequireMonitor() {
    if (m_pSLRMonitor == nullptr) {
        kvt::Fail("[VALU] m_pSLRMonitor", 35);
    }
    return *m_pSLRMonitor;
}

}  // namespace

unsigned long __stdcall KVT_MonitorOpenSession() {
    return RunMonitorExport("[KVTI] KVT_MonitorOpenSession", [] {
        if (m_pSLRMonitor == nullptr) {
            m_pSLRMonitor = new (std::nothrow) CSLRMonitor();
            if (m_pSLRMonitor == nullptr) {
                kvt::Fail("[VALU] m_pSLRMonitor", 5);
            }
        }
        m_pSLRMonitor->OpenSession();
    });
}

unsigned long __stdcall KVT_MonitorCloseSession() {
    return RunMonitorExport("[KVTI] KVT_MonitorCloseSession", [] {
        if (m_pSLRMonitor == nullptr) {
            return;
        }
        m_pSLRMonitor->CloseSession();
        delete m_pSLRMonitor;
        m_pSLRMonitor = nullptr;
    });
}

unsigned long __stdcall KVT_MonitorChangeBank(unsigned long bankKind) {
    return RunMonitorExport("[KVTI] KVT_MonitorChangeBank", [&] {
        const auto bank = static_cast<SLR_MONITOR::tagBANK_KIND_T>(bankKind);
        RequireMonitor().ChangeBank(bank);
    });
}

unsigned long __stdcall KVT_MonitorReadMemory(unsigned long address, unsigned long size,
                                              unsigned char* buffer) {
    return RunMonitorExport("[KVTI] KVT_MonitorReadMemory", [&] {
        CSLRMonitor& monitor = RequireMonitor();
        const unsigned cameraAddress = static_cast<unsigned>(address);
        unsigned byteCount = static_cast<unsigned>(size);
        monitor.ReadMemory(cameraAddress, byteCount, buffer);
        // The caller cannot learn how many bytes arrived: a camera that answers with
        // fewer (or refuses the range and sends none) fails the read instead of
        // leaving the rest of the buffer as it was under a success.
        if (byteCount != static_cast<unsigned>(size)) {
            kvt::Fail("[VALU] byteCount", 35);
        }
    });
}

unsigned long __stdcall KVT_MonitorWriteMemory(unsigned long address, unsigned long size,
                                               unsigned char* buffer) {
    return RunMonitorExport("[KVTI] KVT_MonitorWriteMemory", [&] {
        CSLRMonitor& monitor = RequireMonitor();
        const unsigned cameraAddress = static_cast<unsigned>(address);
        const unsigned byteCount = static_cast<unsigned>(size);
        monitor.WriteMemory(cameraAddress, byteCount, buffer);
    });
}

unsigned long __stdcall KVT_MonitorCallFunction(unsigned long functionAddress) {
    return RunMonitorExport("[KVTI] KVT_MonitorCallFunction", [&] {
        const unsigned functionNumber = static_cast<unsigned>(functionAddress);
        RequireMonitor().CallFunction(functionNumber);
    });
}
