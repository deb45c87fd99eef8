#include "common/LogFile.h"

#include <cstring>
#include <new>

#include "common/Handles.h"
#include "common/Win32.h"

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
    // Appending with FILE_APPEND_DATA alone: every write lands at the end of the file,
    // also when other processes append at the same time.
    kvt::UniqueFile file(::CreateFileA(kLogFileName, FILE_APPEND_DATA | SYNCHRONIZE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        file.Reset(::CreateFileA(kLogFileName, GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return file;
}

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
}

void StopLogStaging() {
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
    if (g_staging != nullptr) {
        const std::size_t n = std::strlen(log.Text());
        if (g_fill + n >= kLogBufferSize) {
            WriteLogFile();
        }
        std::memcpy(g_staging, log.Text(), n);
        g_staging[n] = '\0';
        g_fill += static_cast<unsigned long>(n);
    }
    log.Empty();
    WriteLogFile();
}

void WriteLogFile() {
    kvt::UniqueFile file = OpenLogFile();
    if (!file) {
        return;
    }
    if (g_staging != nullptr) {
        std::size_t out = 0;
        for (const char* p = g_staging; *p != '\0'; ++p) {
            if (*p == '\n') {
                g_translated[out++] = '\r';
            }
            g_translated[out++] = *p;
        }
        DWORD written = 0;
        if (out > 0) {
            ::WriteFile(file.Get(), g_translated, static_cast<DWORD>(out), &written, nullptr);
        }
    }
    g_fill = 0;
}

}  // namespace kvtlog
