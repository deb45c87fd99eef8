// ComLibWrite and ComLibQueueSend: the writing end of a channel.
#include <cstring>

#include "core/channel/ComLib.h"
#include "core/channel/ComLibOutput.h"
#include "core/channel/ComLibRecord.h"
#include "core/channel/ComLibTexts.h"
#include "core/channel/InfoBlock.h"

namespace {

constexpr DWORD kAcknowledgeTimeoutMs = 3000;

}  // namespace

int ComLibWrite(HANDLE id, const void* data, unsigned long size) {
    using namespace comlib;
    ChannelRecord* record = FindOpen(id);
    if (record == nullptr) {
        ShowMessage(kNotCreatedText, nullptr);
        return 0;
    }
    // Refused silently: nothing to write, the wrong size, nobody else attached, or the
    // reading end holds writes back.
    if (!record->dataView || data == nullptr || size != record->dataSize ||
        ReadWord(record->Info(), kOpenersWord) <= 1 ||
        ReadWord(record->Info(), kHoldWord) == 1) {
        return 0;
    }
    {
        kvt::MutexLock lock(record->mutex.Get());
        if (!lock.Owned()) {
            return 0;  // never write the area unguarded
        }
        std::memcpy(record->Data(), data, size);
    }
    // A late acknowledgement of an earlier write must not count for this one.
    ::ResetEvent(record->readEvent.Get());
    WriteWord(record->Info(), kWritingWord, 1);
    IncrementWord(record->Info(), kWriteCountWord);
    ::SetEvent(record->dataEvent.Get());

    const DWORD wait = ::WaitForSingleObject(record->readEvent.Get(), kAcknowledgeTimeoutMs);
    ::ResetEvent(record->readEvent.Get());
    WriteWord(record->Info(), kWritingWord, 0);
    if (wait == WAIT_OBJECT_0) {
        return 1;
    }
    // Not acknowledged in time: done while the other end is still attached.
    return ReadWord(record->Info(), kOpenersWord) > 1 ? 1 : 0;
}

int ComLibQueueSend(HANDLE id, const void* data, unsigned long size) {
    using namespace comlib;
    ChannelRecord* record = FindOpen(id);
    if (record == nullptr || data == nullptr || size != record->dataSize ||
        !record->sendThread || !record->sendQueue.lock.Ready()) {
        return 0;
    }
    try {
        const auto* bytes = static_cast<const unsigned char*>(data);
        QueueGuard guard(record->sendQueue.lock);
        record->sendQueue.blocks.emplace_back(bytes, bytes + size);
        ++record->sendQueue.count;
    } catch (...) {
        ProgressFailure("Queue Send Block", record->mem_name, ERROR_OUTOFMEMORY);
        return 0;
    }
    ::SetEvent(record->sendBufferEvent.Get());
    return 1;
}
