// GBK text (compiled with the GBK execution character set).
#include "console/CounterReadout.h"

#include <cstdio>
#include <cstring>

#include "console/CounterFormulas.h"
#include "console/ModelTable.h"
#include "console/ResultText.h"

namespace tavol {
namespace {

// All three steps run in any case; any nonzero status fails the opening.
bool OpenCounterBank(const FactoryApi& api) {
    std::uint32_t device = api.openDevice();
    std::uint32_t session = api.monitorOpenSession();
    std::uint32_t bank = api.monitorChangeBank(kCounterBank);
    if (device != 0 || session != 0 || bank != 0) {
        Report("读取错误！\n");
        return false;
    }
    return true;
}

void CloseCounterBank(const FactoryApi& api) {
    api.monitorCloseSession();
    api.closeDevice();
}

// Reads a record into a zeroed buffer and shows it on the console (not reported).
// The read's status is not looked at: a read that delivers nothing leaves zeros.
template <std::size_t N>
void ReadRecord(const FactoryApi& api, const char* label, std::uint32_t address,
                std::uint8_t (&record)[N]) {
    std::memset(record, 0, N);
    api.monitorReadMemory(address, static_cast<std::uint32_t>(N), record);
    std::printf("[Debug]%s=%d  Data=", label, static_cast<int>(address));
    for (std::uint8_t b : record) {
        std::printf("%d  ", static_cast<int>(b));
    }
    std::printf("\n");
}

}  // namespace

TwoCounts ReadTwoCounters(const FactoryApi& api, std::uint32_t shutterAddress,
                          std::uint32_t mirrorAddress) {
    if (!OpenCounterBank(api)) {
        return {-1, -1};
    }
    std::uint8_t record[kTwoCounterRecordSize];
    ReadRecord(api, "ShotAddr", shutterAddress, record);
    TwoCounts counts{TwoCounterCount(record), 0};
    ReadRecord(api, "MirrorUpAddr", mirrorAddress, record);
    counts.mirror = TwoCounterCount(record);
    CloseCounterBank(api);
    return counts;
}

std::int32_t ReadOneCounter(const FactoryApi& api, std::uint32_t address) {
    if (!OpenCounterBank(api)) {
        return -1;
    }
    std::uint8_t record[kOneCounterRecordSize];
    ReadRecord(api, "ShotAddr", address, record);
    CloseCounterBank(api);
    return OneCounterCount(record);
}

}  // namespace tavol
