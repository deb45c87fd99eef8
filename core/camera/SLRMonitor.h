// CSLRMonitor: the client of the camera's monitor, a service mode in which the host
// reads and writes camera memory by bank and calls internal functions by number.
// Each access is one camera-side procedure call, checked against the session state and
// the chosen bank first, and logged with its data as "[MNTR]" lines.
//
// Members that can fail come in two halves (see common/ModuleBoundary.h). Copying is
// refused: a copy would share, and free a second time, the session state.
//
// ReadMemory: `size` is the capacity of `data`. Return data larger than that is refused
// ("[VALU] ReturnDataSize", 35) instead of overrunning the buffer; a modifiable size
// variable receives the returned count.
#pragma once

#include "common/Exception.h"
#include "common/ExportMacros.h"
#include "common/ModuleBoundary.h"
#include "core/camera/EventProcedure.h"

namespace SLR_MONITOR {

// The memory bank; it also decides which camera processor answers. Values outside
// the enumerators are refused by ChangeBank.
enum tagBANK_KIND_T : unsigned {
    BANK_KIND_NONE = 0x00,
    BANK_KIND_C0 = 0xC0,   // processor 0; 0xC1 to 0xCF add (bank - 0xC0) * 0x10000 on reads
    BANK_KIND_C1 = 0xC1,
    BANK_KIND_C2 = 0xC2,
    BANK_KIND_C3 = 0xC3,
    BANK_KIND_C4 = 0xC4,
    BANK_KIND_C5 = 0xC5,
    BANK_KIND_C6 = 0xC6,
    BANK_KIND_C7 = 0xC7,
    BANK_KIND_C8 = 0xC8,
    BANK_KIND_C9 = 0xC9,
    BANK_KIND_CA = 0xCA,
    BANK_KIND_CB = 0xCB,
    BANK_KIND_CC = 0xCC,
    BANK_KIND_CD = 0xCD,
    BANK_KIND_CE = 0xCE,
    BANK_KIND_CF = 0xCF,
    BANK_KIND_EE = 0xEE,   // processor 2
    BANK_KIND_FC = 0xFC,   // processor 1
};

}  // namespace SLR_MONITOR

class CORVANE_API CSLRMonitor : public CEventProcedure {
public:
    CSLRMonitor() : _pImpl(nullptr) { kvt::RaiseReported(_Construct()); }
    // Logs the state's address and frees it; an open session is not closed.
    virtual ~CSLRMonitor();

    CSLRMonitor(const CSLRMonitor&) = delete;
    CSLRMonitor& operator=(const CSLRMonitor&) = delete;

    // "MonOpen" unless a session is open.
    void OpenSession() { kvt::RaiseReported(_OpenSession()); }
    // "MonClose" if a session is open; the session counts as closed whatever its result.
    void CloseSession() { kvt::RaiseReported(_CloseSession()); }
    void ChangeBank(const SLR_MONITOR::tagBANK_KIND_T& bank) {
        kvt::RaiseReported(_ChangeBank(bank));
    }
    // Reads `size` bytes at `address` of the chosen bank; `size` receives the count.
    void ReadMemory(const unsigned& address, unsigned& size, unsigned char* data) {
        kvt::RaiseReported(_ReadMemory(address, size, &size, data));
    }
    // For a size the caller cannot let change: the count is not written back.
    void ReadMemory(const unsigned& address, const unsigned& size, unsigned char* data) {
        unsigned returned = 0;
        kvt::RaiseReported(_ReadMemory(address, size, &returned, data));
    }
    void WriteMemory(const unsigned& address, const unsigned& size, unsigned char* data) {
        kvt::RaiseReported(_WriteMemory(address, size, data));
    }
    void CallFunction(const unsigned& functionNumber) {
        kvt::RaiseReported(_CallFunction(functionNumber));
    }

    // The exported halves: each returns its failure instead of raising it.
    CException* _Construct() noexcept;
    CException* _OpenSession() noexcept;
    CException* _CloseSession() noexcept;
    CException* _ChangeBank(const SLR_MONITOR::tagBANK_KIND_T& bank) noexcept;
    CException* _ReadMemory(const unsigned& address, const unsigned& capacity,
                            unsigned* returned, unsigned char* data) noexcept;
    CException* _WriteMemory(const unsigned& address, const unsigned& size,
                             unsigned char* data) noexcept;
    CException* _CallFunction(const unsigned& functionNumber) noexcept;

private:
    class Impl;
    Impl* _pImpl;
};
