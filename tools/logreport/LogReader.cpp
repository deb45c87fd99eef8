#include "tools/logreport/LogReader.h"

#include <cstring>

namespace logreport {

bool LogReader::Open(const std::string& path, unsigned long& error) {
    _file.Reset(::CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!_file) {
        error = ::GetLastError();
        return false;
    }
    error = 0;
    return true;
}

// Moves the unread bytes to the front and reads behind them; false when nothing new
// came (end of file or a read error).
bool LogReader::Fill() {
    if (_eof) {
        return false;
    }
    if (_begin > 0) {
        std::memmove(_buffer.data(), _buffer.data() + _begin, _end - _begin);
        _end -= _begin;
        _begin = 0;
    }
    DWORD got = 0;
    const DWORD room = static_cast<DWORD>(_buffer.size() - _end);
    if (!::ReadFile(_file.Get(), _buffer.data() + _end, room, &got, nullptr)) {
        _readError = ::GetLastError();
        _eof = true;
        return false;
    }
    if (got == 0) {
        _eof = true;
        return false;
    }
    _end += got;
    _bytesRead += got;
    return true;
}

bool LogReader::Next(RawLine& line) {
    for (;;) {
        const char* start = _buffer.data() + _begin;
        const std::size_t available = _end - _begin;
        const void* lf = std::memchr(start, '\n', available);
        if (_skipping) {
            // Drop the rest of a cut line up to its line end.
            if (lf == nullptr) {
                _begin = _end;
                if (!Fill()) {
                    return false;
                }
                continue;
            }
            _begin += static_cast<std::size_t>(static_cast<const char*>(lf) - start) + 1;
            _skipping = false;
            continue;
        }
        std::size_t length = 0;
        bool complete = false;
        bool cut = false;
        const std::size_t toLf =
            lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) : 0;
        if (lf != nullptr && toLf <= kMaxLineLength) {
            length = toLf;
            complete = true;
        } else if (available > kMaxLineLength) {
            length = kMaxLineLength;
            cut = true;
        } else if (Fill()) {
            continue;
        } else if (available == 0) {
            return false;
        } else {
            start = _buffer.data() + _begin;   // Fill may have moved the bytes
            length = available;                // the last line, without a line end
        }
        line.text = std::string_view(start, length);
        line.number = ++_number;
        line.cut = cut;
        line.torn = !complete && !cut;
        if (!line.text.empty() && line.text.back() == '\r') {
            line.text.remove_suffix(1);
            if (complete) {
                ++_crLf;
            }
        }
        _begin += length + (complete ? 1 : 0);
        _skipping = cut;
        return true;
    }
}

}  // namespace logreport
