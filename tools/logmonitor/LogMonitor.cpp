#include "tools/logmonitor/LogMonitor.h"

#include <cstdint>
#include <cstring>

#include "core/channel/ComLib.h"
#include "core/channel/ComLibReader.h"
#include "tools/common/TextConversion.h"

namespace {

// The sizes CStateMonitor opens the channels with.
const char kLogChannel[] = "log_smemory";
const char kCommandChannel[] = "log_command_smemory";
constexpr unsigned long kLogBlockSize = 2048008;
constexpr unsigned long kLogTextCapacity = 2048000;
constexpr unsigned long kCommandBlockSize = 2048020;

}  // namespace

LogMonitor::LogMonitor(const MonitorOptions& options, std::FILE* out, std::FILE* status)
    : _options(options), _out(out), _status(status) {}

LogMonitor::~LogMonitor() {
    Detach();
}

bool LogMonitor::Attach() {
    _block.resize(kCommandBlockSize);
    _hLog = ComLibOpen(kLogChannel, kLogBlockSize, 0, 0, 0);
    _hCommand = _hLog != nullptr ? ComLibOpen(kCommandChannel, kCommandBlockSize, 0, 0, 0)
                                 : nullptr;
    if (_hLog == nullptr || _hCommand == nullptr) {
        std::fprintf(_status, "[KvtLogMonitor] cannot open %s\n",
                     _hLog == nullptr ? kLogChannel : kCommandChannel);
        std::fflush(_status);
        Detach();
        return false;
    }
    // What is in the areas now was written before this end attached: not printed.
    ComLibRead(_hLog, _block.data(), 1, &_lastLogCount);
    ComLibRead(_hCommand, _block.data(), 1, &_lastCommandCount);
    std::fprintf(_status, "[KvtLogMonitor] attached to %s and %s (Ctrl+C ends)\n",
                 kLogChannel, kCommandChannel);
    std::fflush(_status);
    return true;
}

bool LogMonitor::Run(HANDLE stop) {
    const HANDLE waits[3] = {stop, ComLibDataEvent(_hLog), ComLibDataEvent(_hCommand)};
    for (;;) {
        if (_options.count != 0 && _printed >= _options.count) {
            return true;
        }
        const DWORD wait = ::WaitForMultipleObjects(3, waits, FALSE, INFINITE);
        if (wait == WAIT_OBJECT_0) {
            return true;
        } else if (wait == WAIT_OBJECT_0 + 1) {
            OnLogWrite();
        } else if (wait == WAIT_OBJECT_0 + 2) {
            OnCommandWrite();
        } else {
            std::fprintf(_status, "[KvtLogMonitor] wait failed [ERROR:%lu]\n",
                         ::GetLastError());
            std::fflush(_status);
            return false;
        }
    }
}

void LogMonitor::Detach() {
    if (_hCommand != nullptr) {
        ComLibClose(_hCommand, 0);
        _hCommand = nullptr;
    }
    if (_hLog != nullptr) {
        ComLibClose(_hLog, 0);
        _hLog = nullptr;
    }
}

void LogMonitor::OnLogWrite() {
    unsigned long count = _lastLogCount;
    const unsigned long n = ComLibRead(_hLog, _block.data(), kLogBlockSize, &count);
    // The write count tells a new write from a wake-up for one already read; a clear
    // also counts, and leaves an empty text.
    if (n != 0 && count != _lastLogCount) {
        _lastLogCount = count;
        const std::size_t length = ::strnlen(_block.data(), kLogTextCapacity - 1);
        if (length != 0) {
            PrintText(_block.data(), length);
            ++_printed;
        }
    }
    ComLibAcknowledge(_hLog);
}

void LogMonitor::OnCommandWrite() {
    unsigned long count = _lastCommandCount;
    const unsigned long n = ComLibRead(_hCommand, _block.data(), kCommandBlockSize, &count);
    if (n != 0 && count != _lastCommandCount) {
        _lastCommandCount = count;
        std::uint32_t command = 0;
        std::memcpy(&command, _block.data(), sizeof(command));
        if (command != 0) {
            std::fprintf(_status, "[KvtLogMonitor] command %lu\n",
                         static_cast<unsigned long>(command));
            std::fflush(_status);
        }
    }
    ComLibAcknowledge(_hCommand);
}

void LogMonitor::PrintText(const char* text, std::size_t length) {
    if (_options.toUtf8) {
        const std::string utf8 = ToUtf8(text, length, _options.codePage);
        std::fwrite(utf8.data(), 1, utf8.size(), _out);
    } else {
        std::fwrite(text, 1, length, _out);
    }
    if (text[length - 1] != '\n') {
        std::fputc('\n', _out);
    }
    std::fflush(_out);
}
