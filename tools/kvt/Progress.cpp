#include "tools/kvt/Progress.h"

namespace kvtcli {
namespace {

constexpr DWORD kIntervalMs = 250;

}  // namespace

Progress::Progress(const Output& out, std::function<std::string()> status)
    : _out(out), _status(std::move(status)) {
    if (_out.Json() || !_out.Streams().ErrIsTerminal()) {
        return;
    }
    _stop.Reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (_stop) {
        _thread.Reset(::CreateThread(nullptr, 0, &Progress::Run, this, 0, nullptr));
    }
}

Progress::~Progress() {
    if (!_thread) {
        return;
    }
    ::SetEvent(_stop.Get());
    ::WaitForSingleObject(_thread.Get(), INFINITE);
    _out.Streams().ErrRaw("\r" + std::string(_shown, ' ') + "\r");
}

DWORD WINAPI Progress::Run(void* self) {
    auto* progress = static_cast<Progress*>(self);
    const DWORD start = ::GetTickCount();
    while (::WaitForSingleObject(progress->_stop.Get(), kIntervalMs) == WAIT_TIMEOUT) {
        const double seconds = (::GetTickCount() - start) / 1000.0;
        std::string line = Format("%s (%.1f s)", progress->_status().c_str(), seconds);
        const std::size_t length = line.size();
        if (length < progress->_shown) {
            line += std::string(progress->_shown - length, ' ');
        }
        progress->_out.Streams().ErrRaw("\r" + line);
        progress->_shown = length;
    }
    return 0;
}

}  // namespace kvtcli
