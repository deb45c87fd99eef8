#include "core/camera/SLRMonitor.h"

#include <cstdint>
#include <iomanip>

#include "common/LogDump.h"
#include "common/LogFile.h"
#include "common/LogStream.h"

namespace {

kvtlog::LogStream s_log;

constexpr int kNoCpu = 3;

// The processor that serves a bank, or -1 for a bank the monitor does not know.
int CpuOfBank(unsigned bank) {
    if (bank >= 0xC0 && bank <= 0xCF) {
        return 0;
    }
    if (bank == 0xEE) {
        return 2;
    }
    if (bank == 0xFC) {
        return 1;
    }
    return -1;
}

// Reads address banks 0xC1 to 0xCF as 64 KiB windows above bank 0xC0.
unsigned ReadAddress(unsigned bank, unsigned address) {
    if (bank >= 0xC0 && bank <= 0xCF) {
        return address + (bank - 0xC0) * 0x10000u;
    }
    return address;
}

// "[MNTR] Read  : Bank = c3 : Address = 0x1234 : Size =    16"
void AccessLine(const char* head, unsigned bank, unsigned address, unsigned size) {
    kvtlog::Stamp(s_log) << head << "Bank = " << std::hex << std::setw(2) << std::setfill('0')
                         << bank << " : " << "Address = 0x" << std::setw(4) << address << " : "
                         << "Size = " << std::dec << std::setw(5) << std::setfill(' ') << size
                         << '\n';
    kvtlog::CommitLog(s_log);
}

unsigned long AsCode(int result) {
    return static_cast<unsigned long>(static_cast<unsigned>(result));
}

}  // namespace

class CSLRMonitor::Impl {
public:
    int _CpuKind = kNoCpu;
    SLR_MONITOR::tagBANK_KIND_T _BankKind = SLR_MONITOR::BANK_KIND_NONE;
    bool _IsSessionOpen = false;

    // The bank checks shared by reads and writes.
    void RequireBank() const {
        if (_CpuKind == kNoCpu) {
            kvt::Fail("[VALU] _CpuKind", 3);
        }
        if (_BankKind == SLR_MONITOR::BANK_KIND_NONE) {
            kvt::Fail("[VALU] _BankKind", 3);
        }
    }
};

CException* CSLRMonitor::_Construct() noexcept {
    return kvt::ReportFailure([&] { _pImpl = new Impl; });
}

CSLRMonitor::~CSLRMonitor() {
    kvtlog::Stamp(s_log) << "[VALU] _pImpl - " << std::dec
                         << reinterpret_cast<std::uintptr_t>(_pImpl) << '\n';
    kvtlog::CommitLog(s_log);
    delete _pImpl;
    _pImpl = nullptr;
    kvtlog::Stamp(s_log) << "[VALU] _pImpl - " << std::dec << 0 << '\n';
    kvtlog::CommitLog(s_log);
}

CException* CSLRMonitor::_OpenSession() noexcept {
    return kvt::ReportFailure([&] {
        if (_pImpl->_IsSessionOpen) {
            return;
        }
        int result = 0;
        Execute("MonOpen", 0, &result);
        if (result != 0) {
            kvt::Fail("[EVNC] MonOpen", AsCode(result));
        }
        _pImpl->_IsSessionOpen = true;
    });
}

CException* CSLRMonitor::_CloseSession() noexcept {
    return kvt::ReportFailure([&] {
        if (!_pImpl->_IsSessionOpen) {
            return;
        }
        int result = 0;
        Execute("MonClose", 0, &result);   // a transport failure keeps the session open
        _pImpl->_IsSessionOpen = false;
        if (result != 0) {
            kvt::Fail("[EVNC] MonClose", AsCode(result));
        }
    });
}

CException* CSLRMonitor::_ChangeBank(const SLR_MONITOR::tagBANK_KIND_T& bank) noexcept {
    return kvt::ReportFailure([&] {
        const SLR_MONITOR::tagBANK_KIND_T b = bank;
        const int cpu = CpuOfBank(b);
        if (cpu < 0) {
            kvt::Fail("[VALU] BankKind", 3);
        }
        _pImpl->_CpuKind = cpu;
        _pImpl->_BankKind = b;
    });
}

CException* CSLRMonitor::_ReadMemory(const unsigned& address, const unsigned& capacity,
                                     unsigned* returned, unsigned char* data) noexcept {
    return kvt::ReportFailure([&] {
        const unsigned addr = address;
        const unsigned room = capacity;   // `returned` may point at the capacity itself
        if (!_pImpl->_IsSessionOpen) {
            kvt::Fail("[VALU] _IsSessionOpen", 35);
        }
        _pImpl->RequireBank();
        if (data == nullptr && room != 0) {
            kvt::Fail("[VALU] data", 3);
        }
        const unsigned bank = _pImpl->_BankKind;
        ClearParameters();
        PushParameterAsInteger(_pImpl->_CpuKind, 2);
        PushParameterAsInteger(static_cast<int>(ReadAddress(bank, addr)), 2);
        PushParameterAsInteger(static_cast<int>(room), 2);
        unsigned count = 0;
        int result = 0;
        ExecuteAndGetData("MonReadAndGetData", data, room, &count, &result);
        *returned = count;
        AccessLine("[MNTR] Read  : ", bank, addr, count);
        kvtlog::DumpData(s_log, "[MNTR]", data, count);
    });
}

CException* CSLRMonitor::_WriteMemory(const unsigned& address, const unsigned& size,
                                      unsigned char* data) noexcept {
    return kvt::ReportFailure([&] {
        const unsigned addr = address;
        const unsigned n = size;
        if (!_pImpl->_IsSessionOpen) {
            kvt::Fail("[VALU] _IsSessionOpen", 3);
        }
        _pImpl->RequireBank();
        if (data == nullptr && n != 0) {
            kvt::Fail("[VALU] data", 3);
        }
        AccessLine("[MNTR] Write : ", _pImpl->_BankKind, addr, n);
        kvtlog::DumpData(s_log, "[MNTR]", data, n);
        // Writes take the address as it is, without the bank window of reads.
        ClearParameters();
        PushParameterAsInteger(_pImpl->_CpuKind, 2);
        PushParameterAsInteger(static_cast<int>(addr), 2);
        PushParameterAsInteger(static_cast<int>(n), 2);
        PushParameterAsSafeArray(data, n);
        int result = 0;
        Execute("MonWrite", &result);
        if (result != 0) {
            kvt::Fail("[EVNC] MonWrite", AsCode(result));
        }
    });
}

CException* CSLRMonitor::_CallFunction(const unsigned& functionNumber) noexcept {
    return kvt::ReportFailure([&] {
        const unsigned number = functionNumber;
        if (!_pImpl->_IsSessionOpen) {
            kvt::Fail("[VALU] _IsSessionOpen", 3);
        }
        kvtlog::Stamp(s_log) << "[MNTR] Call  : " << "FunctionNo = 0x" << std::hex
                             << std::setw(2) << std::setfill('0') << number << "(" << std::dec
                             << std::setw(3) << std::setfill(' ') << number << ")" << '\n';
        kvtlog::CommitLog(s_log);
        ClearParameters();
        PushParameterAsInteger(0, 2);
        PushParameterAsInteger(static_cast<int>(number), 2);
        int result = 0;
        Execute("MonCall", &result);
        if (result != 0) {
            kvt::Fail("[EVNC] MonCall", AsCode(result));
        }
    });
}
