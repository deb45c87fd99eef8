#include "core/channel/StateMonitor.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/Win32.h"
#include "core/channel/ComLib.h"
#include "core/channel/TextCut.h"

namespace {

constexpr unsigned long kLogTextCapacity = 2048000;   // text and its zero
constexpr unsigned long kLogBlockSize = 2048008;      // text, then 8 bytes that stay zero
constexpr unsigned long kCommandBlockSize = 2048020;  // command word, the rest zero
constexpr std::uint32_t kStartCommand = 1;

// Once per process; what they mean beyond the text and the command word belongs to
// the monitoring process.
unsigned char s_logBlock[kLogBlockSize];
unsigned char s_commandBlock[kCommandBlockSize];

}  // namespace

class CStateMonitor::Impl {
public:
    HANDLE _hLogOutput = nullptr;
    HANDLE _hLogCommand = nullptr;
};

CException* CStateMonitor::_GetInstance(CStateMonitor** instance) noexcept {
    return kvt::ReportFailure([&] {
        // A constructor that throws leaves the static unconstructed: the next call
        // constructs again.
        static CStateMonitor monitor;
        *instance = &monitor;
    });
}

CStateMonitor::CStateMonitor() : _pImpl(new Impl) {
    try {
        Initialize();
    } catch (...) {
        delete _pImpl;
        throw;
    }
}

CStateMonitor::~CStateMonitor() {
    delete _pImpl;
}

void CStateMonitor::Initialize() {
    _pImpl->_hLogOutput = ComLibOpen("log_smemory", kLogBlockSize, 1, 0, 0);
    if (_pImpl->_hLogOutput == nullptr) {
        kvt::Fail("[VALU] _pImpl->_hLogOutput", 35);
    }
    _pImpl->_hLogCommand = ComLibOpen("log_command_smemory", kCommandBlockSize, 1, 0, 0);
    if (_pImpl->_hLogCommand == nullptr) {
        kvt::Fail("[VALU] _pImpl->_hLogCommand", 35);
    }
    std::memcpy(s_commandBlock, &kStartCommand, sizeof(kStartCommand));
    // Refused when no monitoring process is attached; that is fine.
    ComLibWrite(_pImpl->_hLogCommand, s_commandBlock, kCommandBlockSize);
    std::fputs("State Monitor Initialized.\n", stdout);
    std::fflush(stdout);
}

void CStateMonitor::SyncWrite(const char* text) noexcept {
    if (text == nullptr) {
        return;
    }
    const std::size_t length = comlib::FitTextLength(text, kLogTextCapacity, ::GetACP());
    std::memcpy(s_logBlock, text, length);
    s_logBlock[length] = 0;
    ComLibWrite(_pImpl->_hLogOutput, s_logBlock, kLogBlockSize);
}
