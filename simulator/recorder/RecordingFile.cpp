#include "simulator/recorder/RecordingFile.h"

#include "simulator/recorder/SafeRead.h"

namespace kvtrecorder {
namespace {
constexpr unsigned kMaxNumberedNames = 9999;
constexpr DWORD kMaxWrite = 1u << 30;  // one WriteFile moves at most this much

std::string Numbered(const std::string& path, unsigned n) {
    if (n == 1) {
        return path;
    }
    const std::size_t slash = path.find_last_of("\\/");
    const std::size_t dot = path.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::size_t cut = hasExtension ? dot : path.size();
    return path.substr(0, cut) + "-" + std::to_string(n) + path.substr(cut);
}

bool WriteAll(HANDLE file, const void* data, std::size_t size) {
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = size > kMaxWrite ? kMaxWrite : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(file, at, chunk, &written, nullptr) || written != chunk) {
            return false;
        }
        at += chunk;
        size -= chunk;
    }
    return true;
}
}  // namespace

bool RecordingFile::Create(const std::string& path, const std::string& comments,
                           std::string* error) {
    for (unsigned n = 1; n <= kMaxNumberedNames; ++n) {
        const std::string candidate = Numbered(path, n);
        kvt::UniqueFile file(::CreateFileA(candidate.c_str(), GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            const DWORD code = ::GetLastError();
            if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) {
                continue;
            }
            *error = "cannot create the recording " + candidate + " (error " +
                     std::to_string(code) + ")";
            return false;
        }
        _file = std::move(file);
        _path = candidate;
        const std::size_t slash = candidate.find_last_of("\\/");
        _folder = slash == std::string::npos ? std::string() : candidate.substr(0, slash + 1);
        _name = slash == std::string::npos ? candidate : candidate.substr(slash + 1);
        if (!WriteText(std::string(kvtrec::kHeader) + "\r\n" + comments)) {
            const DWORD code = ::GetLastError();
            *error =
                "cannot write the recording " + candidate + " (error " + std::to_string(code) + ")";
            Close();
            return false;
        }
        return true;
    }
    *error = "cannot create the recording " + path + ": every numbered name is taken";
    return false;
}

bool RecordingFile::BlockValue(std::uint64_t number, const void* data, std::size_t size,
                               std::string* value) {
    if (size <= kvtrec::kInlineBytes) {
        std::string bytes;
        if (!SafeRead(data, size, &bytes)) {
            return false;
        }
        *value = kvtrec::Hex(bytes.data(), bytes.size());
        return true;
    }
    // Large blocks go from the caller's buffer to the file in one pass, no copy made;
    // a buffer that turns out unreadable fails the write, it does not fault.
    const std::string name = kvtrec::BlockFileName(_name, number);
    const std::string path = _folder + name;
    kvt::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    if (!WriteAll(file.Get(), data, size)) {
        file.Reset();
        ::DeleteFileA(path.c_str());
        return false;
    }
    *value = std::string(kvtrec::kFilePrefix) + kvtrec::EscapeText(name);
    return true;
}

bool RecordingFile::Append(const kvtrec::CallLine& line) {
    return WriteText(line.Text() + "\r\n");
}

bool RecordingFile::WriteText(const std::string& text) {
    return _file && WriteAll(_file.Get(), text.data(), text.size());
}

}  // namespace kvtrecorder
