#include "tools/kvt/StandardStreams.h"

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>

namespace kvtcli {
namespace {

void WriteAll(HANDLE handle, const std::string& bytes) {
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!::WriteFile(handle, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return;   // a closed pipe: nothing more can be said
        }
        done += written;
    }
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            out += '\r';
        }
        out += text[i];
    }
    return out;
}

}  // namespace

StandardStreams::StandardStreams(bool libraryLinesToErr) {
    const HANDLE process = ::GetCurrentProcess();
    const HANDLE original = ::GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE own = INVALID_HANDLE_VALUE;
    if (original != nullptr && original != INVALID_HANDLE_VALUE &&
        ::DuplicateHandle(process, original, process, &own, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        _out.Reset(own);
    }
    _err = ::GetStdHandle(STD_ERROR_HANDLE);

    // From here on, whatever writes to standard output reaches the null device or
    // standard error.
    std::fflush(stdout);
    int descriptor = -1;
    HANDLE target = INVALID_HANDLE_VALUE;
    if (libraryLinesToErr) {
        descriptor = _fileno(stderr);
        target = _err;
    } else {
        _null.Reset(::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
        descriptor = _open("NUL", _O_WRONLY | _O_BINARY);
        target = _null.Get();
    }
    if (target != nullptr && target != INVALID_HANDLE_VALUE && descriptor >= 0) {
        ::SetStdHandle(STD_OUTPUT_HANDLE, target);
        _dup2(descriptor, _fileno(stdout));
    }
    if (!libraryLinesToErr && descriptor >= 0) {
        _close(descriptor);
    }
}

void StandardStreams::Out(const std::string& text) const {
    WriteAll(_out.Get(), WithCrLf(text));
}

void StandardStreams::Err(const std::string& text) const {
    std::fflush(stdout);   // the libraries' lines first, in the order they came
    WriteAll(_err, WithCrLf(text));
}

void StandardStreams::ErrRaw(const std::string& text) const {
    WriteAll(_err, text);
}

bool StandardStreams::ErrIsTerminal() const {
    DWORD mode = 0;
    return _err != nullptr && _err != INVALID_HANDLE_VALUE &&
           ::GetFileType(_err) == FILE_TYPE_CHAR && ::GetConsoleMode(_err, &mode) != 0;
}

}  // namespace kvtcli
