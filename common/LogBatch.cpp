#include "common/LogBatch.h"

#include <cstdio>

#include "common/Handles.h"
#include "common/LogFile.h"
#include "common/LogStream.h"
#include "common/Win32.h"

namespace kvtlog {
namespace {

// The head of the mapping; the text follows it. Every library of the process that
// joins sees the same bytes through its own view.
struct BatchHead {
    volatile LONG owner;   // id of the thread that holds the batch, 0 when free
    LONG depth;            // operations running in the process
    DWORD size;            // bytes of text waiting
    DWORD capacity;
    DWORD layout;          // kLayout; a writer of another layout does not join
};

constexpr DWORD kLayout = 0x4B4C4201;   // "KLB" 1
// A commit holds less than one stream buffer, and its line ends at most double it.
constexpr DWORD kCapacity = 2 * static_cast<DWORD>(kLogBufferSize);
constexpr DWORD kMappingSize = sizeof(BatchHead) + kCapacity;

kvt::UniqueKernelHandle g_mapping;
kvt::UniqueMappedView g_view;
BatchHead* g_batch = nullptr;

char* Text(BatchHead* batch) {
    return reinterpret_cast<char*>(batch + 1);
}

// "KVT_LOG_BATCH_<process id>", built without allocating: the log starts inside the
// libraries' load, where nothing may throw.
struct BatchName {
    char text[40];
    BatchName() noexcept {
        std::snprintf(text, sizeof(text), "KVT_LOG_BATCH_%lu", static_cast<unsigned long>(::GetCurrentProcessId()));
    }
};

// True when the thread `id` of this process has ended (or no longer exists): a holder
// killed while it held the batch, as at process exit, where the system ends the other
// threads before the libraries unload.
bool HolderGone(DWORD id) {
    kvt::UniqueKernelHandle thread(::OpenThread(SYNCHRONIZE | THREAD_QUERY_LIMITED_INFORMATION,
                                                FALSE, id));
    if (!thread) {
        return true;
    }
    if (::GetProcessIdOfThread(thread.Get()) != ::GetCurrentProcessId()) {
        return true;   // the id now names a thread elsewhere: ours is gone
    }
    return ::WaitForSingleObject(thread.Get(), 0) == WAIT_OBJECT_0;
}

// Holds the batch for one thread. The libraries are called from one thread at a time,
// so the batch is nearly always free: one interlocked exchange.
class BatchHold {
public:
    explicit BatchHold(BatchHead* batch) noexcept : _batch(batch) {
        const LONG self = static_cast<LONG>(::GetCurrentThreadId());
        for (unsigned spins = 1;; ++spins) {
            const LONG holder = ::InterlockedCompareExchange(&_batch->owner, self, 0);
            if (holder == 0) {
                return;
            }
            if (holder == self) {   // never nested; should it be, do not wait for ourselves
                _nested = true;
                return;
            }
            if (spins % 256 == 0 && HolderGone(static_cast<DWORD>(holder)) &&
                ::InterlockedCompareExchange(&_batch->owner, self, holder) == holder) {
                return;
            }
            ::SwitchToThread();
        }
    }
    ~BatchHold() {
        if (!_nested) {
            ::InterlockedExchange(&_batch->owner, 0);
        }
    }
    BatchHold(const BatchHold&) = delete;
    BatchHold& operator=(const BatchHold&) = delete;

private:
    BatchHead* _batch;
    bool _nested = false;
};

// Writes the waiting text with one append and empties the batch, also when the file
// cannot be opened: that text is lost, later text is not held back by it.
void WriteBatch(BatchHead* batch) {
    if (batch->size == 0) {
        return;
    }
    AppendToLogFile(Text(batch), batch->size);
    batch->size = 0;
}

}  // namespace

bool FastLogRequested() noexcept {
    char value[4] = {};
    const DWORD n = ::GetEnvironmentVariableA("KVT_FAST_LOG", value, sizeof(value));
    return n == 1 && value[0] == '1';
}

bool JoinLogBatch() noexcept {
    if (g_batch != nullptr) {
        return true;
    }
    const BatchName name;
    kvt::UniqueKernelHandle mapping(::OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, name.text));
    bool created = false;
    if (!mapping) {
        if (!FastLogRequested()) {
            return false;
        }
        mapping.Reset(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           kMappingSize, name.text));
        created = mapping && ::GetLastError() != ERROR_ALREADY_EXISTS;
        if (!mapping) {
            return false;   // the default mode, then
        }
    }
    kvt::UniqueMappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0,
                                               kMappingSize));
    if (!view) {
        return false;
    }
    auto* batch = static_cast<BatchHead*>(view.Get());
    if (created) {   // a new mapping is zero-filled: free, no operation, empty
        batch->capacity = kCapacity;
        batch->layout = kLayout;
    } else if (batch->layout != kLayout || batch->capacity != kCapacity) {
        return false;
    }
    g_mapping = std::move(mapping);
    g_view = std::move(view);
    g_batch = batch;
    return true;
}

void LeaveLogBatch() noexcept {
    if (g_batch == nullptr) {
        return;
    }
    {
        BatchHold hold(g_batch);
        WriteBatch(g_batch);
    }
    g_batch = nullptr;
    g_view.Reset();
    g_mapping.Reset();
}

bool InLogBatch() noexcept {
    return g_batch != nullptr;
}

void AppendToLogBatch(const char* text, std::size_t size) noexcept {
    BatchHead* batch = g_batch;
    if (batch == nullptr) {
        return;
    }
    BatchHold hold(batch);
    if (batch->size + 2 * size > batch->capacity) {
        WriteBatch(batch);
        if (2 * size > batch->capacity) {
            return;   // more than a commit can hold; cannot happen
        }
    }
    batch->size += static_cast<DWORD>(ToFileLineEnds(text, size, Text(batch) + batch->size));
    if (batch->depth == 0) {
        WriteBatch(batch);
    }
}

LogOperation::LogOperation() noexcept : _counted(g_batch != nullptr) {
    if (_counted) {
        BatchHold hold(g_batch);
        ++g_batch->depth;
    }
}

LogOperation::~LogOperation() {
    if (!_counted || g_batch == nullptr) {
        return;
    }
    BatchHold hold(g_batch);
    if (g_batch->depth > 0) {
        --g_batch->depth;
    }
    if (g_batch->depth == 0) {
        WriteBatch(g_batch);
    }
}

}  // namespace kvtlog
