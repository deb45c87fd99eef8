// The process-wide channel table of ComLIB and its records (internal to the library).
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <vector>

#include "common/Handles.h"
#include "common/Win32.h"

namespace comlib {

constexpr std::size_t kTableSize = 256;
constexpr std::size_t kNameCapacity = 256;
// Longest channel name: with the longest suffix ("_SEND_BUFFER_EVENT") every object
// name stays far inside the record's name field and the system's name limit.
constexpr std::size_t kMaxNameLength = 63;
constexpr std::uint32_t kStateClosed = 2;

using ReceiveCallback = void(__cdecl*)();

// The critical section of a buffer queue; initialised only with its thread option.
class QueueLock {
public:
    QueueLock() = default;
    ~QueueLock() { Destroy(); }
    QueueLock(const QueueLock&) = delete;
    QueueLock& operator=(const QueueLock&) = delete;

    void Initialize() noexcept {
        if (!_ready) {
            ::InitializeCriticalSection(&_section);
            _ready = true;
        }
    }
    void Destroy() noexcept {
        if (_ready) {
            ::DeleteCriticalSection(&_section);
            _ready = false;
        }
    }
    bool Ready() const noexcept { return _ready; }
    CRITICAL_SECTION* Get() noexcept { return &_section; }

private:
    CRITICAL_SECTION _section{};
    bool _ready = false;
};

// Holds a queue's critical section for a scope (nothing when it is not initialised).
class QueueGuard {
public:
    explicit QueueGuard(QueueLock& lock) noexcept : _lock(lock.Ready() ? &lock : nullptr) {
        if (_lock != nullptr) {
            ::EnterCriticalSection(_lock->Get());
        }
    }
    ~QueueGuard() {
        if (_lock != nullptr) {
            ::LeaveCriticalSection(_lock->Get());
        }
    }
    QueueGuard(const QueueGuard&) = delete;
    QueueGuard& operator=(const QueueGuard&) = delete;

private:
    QueueLock* _lock;
};

// Blocks waiting for a buffer thread: each list node owns one block of the data size.
struct BlockQueue {
    unsigned long count = 0;
    std::list<std::vector<unsigned char>> blocks;
    QueueLock lock;
};

struct ChannelRecord {
    kvt::UniqueKernelHandle smem_handle;       // the data mapping; the channel id
    char mem_name[kNameCapacity] = {};
    kvt::UniqueKernelHandle dataEvent;         // "_EVENT"
    kvt::UniqueKernelHandle readEvent;         // "_READ_EVENT"
    kvt::UniqueKernelHandle sendBufferEvent;   // "_SEND_BUFFER_EVENT"
    kvt::UniqueKernelHandle rcvBufferEvent;    // "_RCV_BUFFER_EVENT"
    std::uint32_t startCount = 0;
    std::uint32_t sentCount = 0;
    BlockQueue sendQueue;
    kvt::UniqueKernelHandle sendThread, sendStopEvent;
    BlockQueue rcvQueue;
    kvt::UniqueKernelHandle rcvThread, rcvStopEvent;
    kvt::UniqueMappedView dataView;
    kvt::UniqueKernelHandle mutex;             // "_MUTEX"
    std::uint32_t dataSize = 0;
    kvt::UniqueMappedView infoView;            // "_INFO"
    // Keeps the name "_INFO" in the namespace while the channel is open: a view alone
    // keeps the memory, but the name goes with the last handle.
    kvt::UniqueKernelHandle infoMapping;
    std::uint32_t state = 0;
    std::uint32_t clearOption = 0, sendOption = 0, receiveOption = 0;
    ReceiveCallback receiveCallback = nullptr;

    bool InUse() const noexcept { return dataView.Valid(); }
    bool IsOpen() const noexcept { return InUse() && state != kStateClosed && smem_handle.Valid(); }
    HANDLE Id() const noexcept { return smem_handle.Get(); }
    unsigned char* Data() const noexcept { return static_cast<unsigned char*>(dataView.Get()); }
    void* Info() const noexcept { return infoView.Get(); }
};

// The table: kTableSize records, filled from the first slot on.
ChannelRecord* Table() noexcept;
// The open record with this id; null for 0, for an unknown id and for closed records.
ChannelRecord* FindOpen(HANDLE id) noexcept;
// Releases everything the record holds (threads stopped first) and makes it free.
void ReleaseRecord(ChannelRecord& record) noexcept;

// Zeroes the data area under the mutex, counts the clear and sets the data event.
void ClearDataArea(ChannelRecord& record) noexcept;

}  // namespace comlib
