#include <cstring>

#include "core/channel/ComLibRecord.h"
#include "core/channel/ComLibThreads.h"
#include "core/channel/InfoBlock.h"

namespace comlib {

namespace {
ChannelRecord s_table[kTableSize];
}  // namespace

ChannelRecord* Table() noexcept {
    return s_table;
}

ChannelRecord* FindOpen(HANDLE id) noexcept {
    if (id == nullptr) {
        return nullptr;
    }
    for (ChannelRecord& record : s_table) {
        if (record.IsOpen() && record.Id() == id) {
            return &record;
        }
    }
    return nullptr;
}

void ReleaseRecord(ChannelRecord& record) noexcept {
    StopBufferThreads(record);
    record.readEvent.Reset();
    record.dataEvent.Reset();
    record.mutex.Reset();
    record.smem_handle.Reset();
    record.dataView.Reset();
    record.infoView.Reset();
    record.infoMapping.Reset();
    std::memset(record.mem_name, 0, sizeof(record.mem_name));
    record.startCount = 0;
    record.sentCount = 0;
    record.dataSize = 0;
    record.state = 0;
    record.clearOption = record.sendOption = record.receiveOption = 0;
    record.receiveCallback = nullptr;
}

void ClearDataArea(ChannelRecord& record) noexcept {
    kvt::MutexLock lock(record.mutex.Get());
    std::memset(record.Data(), 0, record.dataSize);
    IncrementWord(record.Info(), kWriteCountWord);
    ::SetEvent(record.dataEvent.Get());
}

}  // namespace comlib
