#include "plugins/pellor/PropertyDataFile.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

#include "common/Exception.h"

namespace pellor {
namespace {

// Closes a CRT file descriptor unless it was closed (and checked) explicitly.
class FileDescriptor {
public:
    FileDescriptor() = default;
    ~FileDescriptor() {
        if (_fd != -1) {
            ::_close(_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int* Out() { return &_fd; }
    int Get() const { return _fd; }
    // Closes the file; false when the close fails.
    bool Close() {
        const int fd = _fd;
        _fd = -1;
        return ::_close(fd) == 0;
    }

private:
    int _fd = -1;
};

}  // namespace

std::string PropertyDataFileName(std::uint32_t id) {
    char digits[9] = {};
    if (::_itoa_s(static_cast<int>(id), digits, sizeof(digits), 16) != 0) {
        kvt::Fail("[STDF] _itoa_s", 7);
    }
    const std::size_t n = std::strlen(digits);
    std::string name(8 - n, '0');
    name += digits;
    name += ".bin";
    return name;
}

std::string PropertyDataFolder(const std::string& folderText) {
    const std::size_t last = folderText.rfind('\\');
    if (last == std::string::npos) {
        kvt::Fail("[VALU] pszFileName", 1);
    }
    return folderText.substr(0, last + 1);
}

void WritePropertyDataFile(const std::string& path, const unsigned char* data,
                           std::uint32_t size) {
    FileDescriptor file;
    if (::_sopen_s(file.Out(), path.c_str(), _O_CREAT | _O_TRUNC | _O_WRONLY | _O_BINARY,
                   _SH_DENYNO, _S_IWRITE) != 0) {
        kvt::Fail("[STDF] _sopen_s", 7);
    }
    const int written = ::_write(file.Get(), data, size);
    if (written < 0 || static_cast<std::uint32_t>(written) < size) {
        kvt::Fail("[STDF] _write", 1);
    }
    if (!file.Close()) {
        kvt::Fail("[STDF] _close", 1);
    }
}

}  // namespace pellor
