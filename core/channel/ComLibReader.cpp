#include "core/channel/ComLibReader.h"

#include <algorithm>
#include <cstring>

#include "core/channel/ComLibRecord.h"
#include "core/channel/InfoBlock.h"

HANDLE ComLibDataEvent(HANDLE id) {
    comlib::ChannelRecord* record = comlib::FindOpen(id);
    return record != nullptr ? record->dataEvent.Get() : nullptr;
}

unsigned long ComLibRead(HANDLE id, void* out, unsigned long size, unsigned long* writeCount) {
    using namespace comlib;
    ChannelRecord* record = FindOpen(id);
    if (record == nullptr || out == nullptr || size == 0) {
        return 0;
    }
    // Reset before reading: a write that lands after this sets the event again.
    ::ResetEvent(record->dataEvent.Get());
    kvt::MutexLock lock(record->mutex.Get());
    if (!lock.Owned()) {
        return 0;
    }
    const unsigned long n = std::min<unsigned long>(size, record->dataSize);
    std::memcpy(out, record->Data(), n);
    if (writeCount != nullptr) {
        *writeCount = static_cast<unsigned long>(ReadWord(record->Info(), kWriteCountWord));
    }
    return n;
}

int ComLibAcknowledge(HANDLE id) {
    using namespace comlib;
    ChannelRecord* record = FindOpen(id);
    if (record == nullptr || ReadWord(record->Info(), kWritingWord) != 1) {
        return 0;
    }
    ::SetEvent(record->readEvent.Get());
    return 1;
}
