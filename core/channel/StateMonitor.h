// CStateMonitor: mirrors log text to an outside monitoring process through the channels
// "log_smemory" (log text) and "log_command_smemory" (commands). A process-wide
// singleton; its channels are closed at exit or by the console handler.
//
// GetInstance comes in two halves (see common/ModuleBoundary.h): the inline member
// raises in the caller's module what the exported _GetInstance reports. A failed first
// construction is reported as "[VALU] _pImpl->_hLogOutput" or "[VALU]
// _pImpl->_hLogCommand" (code 35); the next GetInstance tries again.
#pragma once

#include "common/Exception.h"
#include "common/ExportMacros.h"
#include "common/ModuleBoundary.h"

class CORVANE_API CStateMonitor {
public:
    static CStateMonitor& GetInstance() {
        CStateMonitor* instance = nullptr;
        kvt::RaiseReported(_GetInstance(&instance));
        return *instance;
    }

    // Writes the zero-terminated text to the log channel as one whole log block (the
    // result is not looked at). A text of 2,048,000 bytes or more is cut at a character
    // boundary of the ANSI code page to 2,047,999 bytes and its zero; null writes nothing.
    void SyncWrite(const char* text) noexcept;

    // The exported half of GetInstance.
    static CException* _GetInstance(CStateMonitor** instance) noexcept;

private:
    CStateMonitor();
    virtual ~CStateMonitor();
    CStateMonitor(const CStateMonitor&) = delete;
    CStateMonitor& operator=(const CStateMonitor&) = delete;

    // Opens both channels (clear option 1, no threads) and sends the start command.
    void Initialize();

    class Impl;
    Impl* _pImpl;
};
