#include "common/LogFile.h"

#include <cstring>
#include <new>
#include <string>

#include "common/Handles.h"
#include "common/LogBatch.h"
#include "common/Win32.h"
#include "core/GlobalTimer.h"

namespace kvtlog {
namespace {

const char kLogFileName[] = "KvtDll.log";

char* g_staging = nullptr;
// The file is written in text mode: every LF becomes CR LF. The translated chunk is
// built here and written with one call, so lines of several processes interleave only
// at commit granularity.
char* g_translated = nullptr;
unsigned long g_fill = 0;

kvt::UniqueFile OpenLogFile() {
    kvt::UniqueFile file(::CreateFileA(kLogFileName, GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        file.Reset(::CreateFileA(kLogFileName, GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return file;
}

// Every writer of the log, in every process, appends under this lock: one byte far
// beyond the end of any log. A handle opened for appending alone is not an atomic
// append everywhere (Wine finds the end and writes in two steps), and two processes
// committing at once then wrote at the same offset, losing one commit. Under the lock
// the end found is the end written to. The system drops the lock with the handle,
// also when a process dies while holding it.
class AppendLock {
public:
    explicit AppendLock(HANDLE file) noexcept : _file(file) {
        OVERLAPPED at = Position();
        _locked = ::LockFileEx(_file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at) != 0;
    }
    ~AppendLock() {
        if (_locked) {
            OVERLAPPED at = Position();
            ::UnlockFileEx(_file, 0, 1, 0, &at);
        }
    }
    AppendLock(const AppendLock&) = delete;
    AppendLock& operator=(const AppendLock&) = delete;

private:
    static OVERLAPPED Position() noexcept {
        OVERLAPPED at{};
        at.OffsetHigh = 0x7FFFFFFF;
        return at;
    }
    HANDLE _file;
    bool _locked = false;
};

}  // namespace

void StartLogStaging() {
    if (g_staging != nullptr) {
        return;
    }
    g_staging = new (std::nothrow) char[kLogBufferSize];
    g_translated = new (std::nothrow) char[2 * kLogBufferSize];
    if (g_staging == nullptr || g_translated == nullptr) {
        delete[] g_staging;
        delete[] g_translated;
        g_staging = nullptr;
        g_translated = nullptr;
        return;
    }
    g_staging[0] = '\0';
    g_fill = 0;
    JoinLogBatch();
}

void StopLogStaging() {
    LeaveLogBatch();
    delete[] g_staging;
    delete[] g_translated;
    g_staging = nullptr;
    g_translated = nullptr;
}

bool HasLogStaging() {
    return g_staging != nullptr;
}

unsigned long StagedByteCount() {
    return g_fill;
}

void CommitLog(LogStream& log) {
    const std::size_t dropped = log.Dropped();
    bool endsLine = true;
    if (g_staging != nullptr) {
        const std::size_t n = std::strlen(log.Text());
        if (g_fill + n >= kLogBufferSize) {
            WriteLogFile();
        }
        std::memcpy(g_staging, log.Text(), n);
        g_staging[n] = '\0';
        g_fill += static_cast<unsigned long>(n);
        endsLine = n == 0 || log.Text()[n - 1] == '\n';
    }
    log.Empty();
    WriteLogFile();
    // Text beyond the stream's capacity was dropped between two commits: say so, on a
    // line of its own after what was kept.
    if (dropped != 0 && g_staging != nullptr) {
        const std::string marker = std::string(endsLine ? "" : "\n") + _gt(10) +
                                   "[ERR!] - [VALU] LogStream - " + std::to_string(dropped) +
                                   " bytes dropped\n";
        std::memcpy(g_staging, marker.c_str(), marker.size() + 1);
        g_fill = static_cast<unsigned long>(marker.size());
        WriteLogFile();
    }
}

void WriteLogFile() {
    if (InLogBatch()) {
        AppendToLogBatch(g_staging, std::strlen(g_staging));
        g_fill = 0;
        return;
    }
    std::size_t out = 0;
    if (g_staging != nullptr) {
        out = ToFileLineEnds(g_staging, std::strlen(g_staging), g_translated);
    }
    if (AppendToLogFile(g_translated, out)) {
        g_fill = 0;
    }
}

std::size_t ToFileLineEnds(const char* text, std::size_t size, char* out) {
    char* const start = out;
    for (std::size_t i = 0; i < size; ++i) {
        if (text[i] == '\n') {
            *out++ = '\r';
        }
        *out++ = text[i];
    }
    return static_cast<std::size_t>(out - start);
}

bool AppendToLogFile(const char* bytes, std::size_t size) {
    kvt::UniqueFile file = OpenLogFile();
    if (!file) {
        return false;
    }
    if (size > 0) {
        AppendLock lock(file.Get());
        LARGE_INTEGER end{};
        ::SetFilePointerEx(file.Get(), end, nullptr, FILE_END);
        DWORD written = 0;
        ::WriteFile(file.Get(), bytes, static_cast<DWORD>(size), &written, nullptr);
    }
    return true;
}

}  // namespace kvtlog
