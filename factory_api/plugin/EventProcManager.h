// CEventProcManager: the manager of one execute call. Constructing it publishes the
// procedure name in "SHARED_NAME_EVENTPROCNAME" and copies the configuration word;
// destroying it (also when a failure passes through) closes both blocks and lets the
// timer write the "[EVND] ElapsedTime" line.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/SharedMemory.h"
#include "factory_api/plugin/AutoTimer.h"
#include "factory_api/plugin/EventProcRecord.h"

namespace kvtq517 {

class CEventProcManager : public CAutoTimer,
                          public CConfigurationSharedMemory,
                          public CEventProcNameSharedMemory {
public:
    // `name` must be a text of at most 127 characters (the callers check it). A block
    // without a view fails with "[VALU] SHARED_NAME_EVENTPROCNAME" or
    // "[VALU] SHARED_NAME_CONFIGURATION" (5).
    explicit CEventProcManager(const char* name);
    virtual ~CEventProcManager();

    CEventProcManager(const CEventProcManager&) = delete;
    CEventProcManager& operator=(const CEventProcManager&) = delete;

    // The registry entry of the name; "[VALU] Not Registered : <name>" (35) if none.
    const EventProcRecord& FindProcedure();

    std::uint32_t ConfigurationWord() const noexcept;

private:
    struct CallRecord;
    std::unique_ptr<CallRecord> _pCall;
};

// Names longer than this do not fit the 128-byte name block with their zero.
constexpr std::size_t kMaxEventProcNameLength = 127;

}  // namespace kvtq517
