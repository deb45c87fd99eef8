#include "core/channel/ComLibThreads.h"

#include <cstring>
#include <memory>
#include <string>

#include "core/channel/ComLibOutput.h"
#include "core/channel/InfoBlock.h"

namespace comlib {
namespace {

constexpr DWORD kSendThreadExitCode = 17;
constexpr DWORD kReceiveThreadExitCode = 18;

// Owned by the thread, freed when it ends. The record lives in the static table, so
// its address stays valid for the thread's whole life.
struct ThreadArgument {
    ChannelRecord* record;
    char name[kNameCapacity];
};

// One queued block into the data area, if it differs from what is there. A block equal
// to the current content is dropped without counting: leaving it at the head would
// stall every block behind it. Returns whether blocks are left after this one.
bool SendOneBlock(ChannelRecord& record) {
    BlockQueue& queue = record.sendQueue;
    {
        QueueGuard guard(queue.lock);
        if (queue.blocks.empty()) {
            return false;
        }
    }
    kvt::MutexLock lock(record.mutex.Get());
    if (!lock.Owned()) {
        return false;
    }
    QueueGuard guard(queue.lock);
    if (queue.blocks.empty()) {
        return false;
    }
    const std::vector<unsigned char>& block = queue.blocks.front();
    const bool differs = std::memcmp(block.data(), record.Data(), record.dataSize) != 0;
    if (differs) {
        std::memcpy(record.Data(), block.data(), record.dataSize);
        ++record.sentCount;
        IncrementWord(record.Info(), kWriteCountWord);
    }
    queue.blocks.pop_front();
    --queue.count;
    if (differs) {
        DecrementWordAboveZero(record.Info(), kPendingWord);
        ::SetEvent(record.dataEvent.Get());
    }
    return !queue.blocks.empty();
}

DWORD WINAPI SendBufferThread(void* parameter) {
    std::unique_ptr<ThreadArgument> argument(static_cast<ThreadArgument*>(parameter));
    ChannelRecord& record = *argument->record;
    Progress("[ComLIB] >> START SEND BUFFER THREAD [NAME:%s]", argument->name);
    const HANDLE waits[2] = {record.sendStopEvent.Get(), record.sendBufferEvent.Get()};
    while (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        // One block per wake-up. The event holds one signal however many blocks were
        // queued, so the thread wakes itself again while blocks are left; resetting
        // first keeps the signal of a block queued during the send.
        ::ResetEvent(record.sendBufferEvent.Get());
        if (SendOneBlock(record)) {
            ::SetEvent(record.sendBufferEvent.Get());
        }
    }
    Progress("[ComLIB] >> END SEND BUFFER THREAD [NAME:%s]", argument->name);
    return kSendThreadExitCode;
}

DWORD WINAPI ReceiveBufferThread(void* parameter) {
    std::unique_ptr<ThreadArgument> argument(static_cast<ThreadArgument*>(parameter));
    ChannelRecord& record = *argument->record;
    Progress("[ComLIB] >> START RCV BUFFER THREAD [NAME:%s]", argument->name);
    const HANDLE waits[2] = {record.rcvStopEvent.Get(), record.rcvBufferEvent.Get()};
    while (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        // Reset first: a signal that arrives during the callback is not lost, and a
        // callback that leaves the queue as it is does not spin this thread.
        ::ResetEvent(record.rcvBufferEvent.Get());
        bool queued = false;
        {
            QueueGuard guard(record.rcvQueue.lock);
            queued = !record.rcvQueue.blocks.empty();
        }
        if (queued && record.receiveCallback != nullptr) {
            record.receiveCallback();
        }
    }
    // The thread handle belongs to the record (closed by whoever stops the thread).
    Progress("[ComLIB] >> END RCV BUFFER THREAD [NAME:%s]", argument->name);
    return kReceiveThreadExitCode;
}

struct ThreadKind {
    BlockQueue ChannelRecord::*queue;
    kvt::UniqueKernelHandle ChannelRecord::*bufferEvent;
    kvt::UniqueKernelHandle ChannelRecord::*thread;
    kvt::UniqueKernelHandle ChannelRecord::*stopEvent;
    const char* suffix;
    BOOL manualReset;
    LPTHREAD_START_ROUTINE procedure;
    const char* label;  // "SEND" or "RCV"
};

const ThreadKind kSendKind = {&ChannelRecord::sendQueue,  &ChannelRecord::sendBufferEvent,
                              &ChannelRecord::sendThread, &ChannelRecord::sendStopEvent,
                              "_SEND_BUFFER_EVENT",       FALSE,
                              &SendBufferThread,          "SEND"};
const ThreadKind kReceiveKind = {&ChannelRecord::rcvQueue,  &ChannelRecord::rcvBufferEvent,
                                 &ChannelRecord::rcvThread, &ChannelRecord::rcvStopEvent,
                                 "_RCV_BUFFER_EVENT",       TRUE,
                                 &ReceiveBufferThread,      "RCV"};

bool StartThread(ChannelRecord& record, const ThreadKind& kind) {
    BlockQueue& queue = record.*kind.queue;
    queue.lock.Initialize();
    queue.blocks.clear();
    queue.count = 0;

    const std::string eventName = std::string(record.mem_name) + kind.suffix;
    (record.*kind.bufferEvent).Reset(::CreateEventA(nullptr, kind.manualReset, FALSE,
                                                    eventName.c_str()));
    DWORD error = ::GetLastError();
    if (!(record.*kind.bufferEvent)) {
        ProgressFailure("CreateEvent", eventName.c_str(), error);
        return false;
    }
    (record.*kind.stopEvent).Reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    error = ::GetLastError();
    if (!(record.*kind.stopEvent)) {
        ProgressFailure("CreateEvent", record.mem_name, error);
        return false;
    }

    auto argument = std::make_unique<ThreadArgument>();
    argument->record = &record;
    std::memcpy(argument->name, record.mem_name, kNameCapacity);
    // Suspended until its priority is set, so CREATE is always printed before START.
    HANDLE thread =
        ::CreateThread(nullptr, 0, kind.procedure, argument.get(), CREATE_SUSPENDED, nullptr);
    error = ::GetLastError();
    if (thread == nullptr) {
        ProgressFailure("CreateThread", record.mem_name, error);
        return false;
    }
    argument.release();
    (record.*kind.thread).Reset(thread);
    Progress("[ComLIB] >> CREATE %s BUFFER THREAD [NAME:%s]", kind.label, record.mem_name);
    ::SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST);
    ::ResumeThread(thread);
    return true;
}

void StopThread(ChannelRecord& record, const ThreadKind& kind) {
    kvt::UniqueKernelHandle& thread = record.*kind.thread;
    if (thread) {
        ::SetEvent((record.*kind.stopEvent).Get());
        ::WaitForSingleObject(thread.Get(), INFINITE);
    }
    thread.Reset();
    (record.*kind.stopEvent).Reset();
    (record.*kind.bufferEvent).Reset();
    BlockQueue& queue = record.*kind.queue;
    queue.blocks.clear();  // frees every block and node; the thread has ended
    queue.count = 0;
    queue.lock.Destroy();
}

}  // namespace

bool StartSendThread(ChannelRecord& record) noexcept {
    try {
        return StartThread(record, kSendKind);
    } catch (...) {  // allocation of the thread argument
        ProgressFailure("Start Send Thread", record.mem_name, ERROR_OUTOFMEMORY);
        return false;
    }
}

bool StartReceiveThread(ChannelRecord& record) noexcept {
    try {
        return StartThread(record, kReceiveKind);
    } catch (...) {
        ProgressFailure("Start Receive Thread", record.mem_name, ERROR_OUTOFMEMORY);
        return false;
    }
}

void StopBufferThreads(ChannelRecord& record) noexcept {
    StopThread(record, kSendKind);
    StopThread(record, kReceiveKind);
}

}  // namespace comlib
