#include "tools/logreport/OutputFile.h"

namespace logreport {
namespace {
constexpr std::size_t kBufferSize = 1024 * 1024;
}

bool OutputFile::Create(const std::string& path, unsigned long& error) {
    _file.Reset(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!_file) {
        error = ::GetLastError();
        return false;
    }
    _buffer.reserve(kBufferSize);
    error = 0;
    return true;
}

void OutputFile::Flush() {
    std::size_t done = 0;
    while (_error == 0 && done < _buffer.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(_buffer.size() - done);
        if (!::WriteFile(_file.Get(), _buffer.data() + done, chunk, &written, nullptr) || written == 0) {
            _error = ::GetLastError();
            if (_error == 0) {
                _error = ERROR_WRITE_FAULT;
            }
            break;
        }
        done += written;
    }
    _buffer.clear();
}

void OutputFile::Write(std::string_view bytes) {
    if (!_file) {
        return;
    }
    if (_buffer.size() + bytes.size() > kBufferSize) {
        Flush();
    }
    if (bytes.size() > kBufferSize) {
        _buffer.assign(bytes.data(), bytes.size());
        Flush();
        return;
    }
    _buffer.append(bytes.data(), bytes.size());
}

bool OutputFile::Close(unsigned long& error) {
    if (_file) {
        Flush();
        _file.Reset();
    }
    error = _error;
    return _error == 0;
}

}  // namespace logreport
