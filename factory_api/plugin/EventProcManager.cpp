#include "factory_api/plugin/EventProcManager.h"

#include "common/Exception.h"
#include "factory_api/ModuleState.h"
#include "factory_api/plugin/EventProcRegistry.h"

namespace kvtq517 {
namespace {
kvtlog::LogStream s_log;
}

struct CEventProcManager::CallRecord {
    std::string Name;
    std::uint32_t ConfigurationWord = 0;
    const EventProcRecord* Record = nullptr;
};

CEventProcManager::CEventProcManager(const char* name)
    : CAutoTimer(s_log), _pCall(new CallRecord{name}) {
    // Set first, so that a failure below still gets a labelled duration line.
    SetLabel("[EVND] ElapsedTime  ");
    {
        kvt::BlockAccess access(static_cast<CEventProcNameSharedMemory&>(*this));
        if (!access.WriteText(_pCall->Name)) {
            kvt::Fail("[VALU] SHARED_NAME_EVENTPROCNAME", 5);
        }
    }
    {
        kvt::BlockAccess access(static_cast<CConfigurationSharedMemory&>(*this));
        if (!access.Read(_pCall->ConfigurationWord)) {
            kvt::Fail("[VALU] SHARED_NAME_CONFIGURATION", 5);
        }
    }
}

CEventProcManager::~CEventProcManager() = default;

const EventProcRecord& CEventProcManager::FindProcedure() {
    _pCall->Record = FindEventProc(_pCall->Name.c_str());
    if (_pCall->Record == nullptr) {
        kvt::Fail("[VALU] Not Registered : " + _pCall->Name, 35);
    }
    return *_pCall->Record;
}

std::uint32_t CEventProcManager::ConfigurationWord() const noexcept {
    return _pCall->ConfigurationWord;
}

}  // namespace kvtq517
