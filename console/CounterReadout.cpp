#include "console/CounterReadout.h"

#include <cstring>

namespace tavol {
namespace {

void ReadRecord(const FactoryApi& api, Counter counter, std::uint32_t address, std::size_t size,
                CounterRecord& record, RecordRead onRead) {
    record.counter = counter;
    record.address = address;
    record.size = size;
    std::memset(record.bytes, 0, sizeof(record.bytes));
    record.readResult = api.monitorReadMemory(address, static_cast<unsigned long>(size), record.bytes);
    if (size == kTwoCounterRecordSize) {
        record.count = TwoCounterCount(record.bytes);
    } else {
        std::uint8_t three[kOneCounterRecordSize];
        std::memcpy(three, record.bytes, sizeof(three));
        record.count = OneCounterCount(three);
    }
    if (onRead != nullptr) {
        onRead(record);
    }
}

}  // namespace

CounterReadout ReadCounters(const FactoryApi& api, const ModelChoice& model, RecordRead onRead) {
    CounterReadout readout;
    if (model.readout == Readout::Unsupported) {
        return readout;
    }
    readout.openDeviceResult = api.openDevice();
    readout.openSessionResult = api.monitorOpenSession();
    readout.changeBankResult = api.monitorChangeBank(kCounterBank);
    readout.opened = readout.openDeviceResult == 0 && readout.openSessionResult == 0 &&
                     readout.changeBankResult == 0;
    if (!readout.opened) {
        return readout;
    }
    if (model.readout == Readout::TwoCounters) {
        ReadRecord(api, Counter::Shutter, model.shutterAddress, kTwoCounterRecordSize,
                   readout.records[0], onRead);
        ReadRecord(api, Counter::Mirror, model.mirrorAddress, kTwoCounterRecordSize,
                   readout.records[1], onRead);
        readout.recordCount = 2;
    } else {
        ReadRecord(api, Counter::Shutter, model.shutterAddress, kOneCounterRecordSize,
                   readout.records[0], onRead);
        readout.recordCount = 1;
    }
    api.monitorCloseSession();
    api.closeDevice();
    return readout;
}

}  // namespace tavol
