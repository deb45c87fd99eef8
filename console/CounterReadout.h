// The counter readout through the factory API library: open the device and a monitor
// session, select the counter bank, read the model's record(s) and compute the counts,
// close again. It prints nothing; TavolInfo and kvt present the result each in their
// own way.
#pragma once

#include <cstddef>
#include <cstdint>

#include "console/CounterFormulas.h"
#include "console/FactoryApi.h"
#include "console/ModelTable.h"

namespace tavol {

enum class Counter { Shutter, Mirror };

struct CounterRecord {
    Counter counter = Counter::Shutter;
    std::uint32_t address = 0;
    std::size_t size = 0;                            // 10 (two-counter models) or 3
    std::uint8_t bytes[kTwoCounterRecordSize] = {};  // zeros where the read gave nothing
    std::uint32_t readResult = 0;                    // KVT_MonitorReadMemory's result
    std::int32_t count = 0;                          // by the model's formula
};

struct CounterReadout {
    // The three opening steps (device, session, bank) run in any case; any nonzero
    // result fails the opening, and then nothing is read and nothing closed.
    std::uint32_t openDeviceResult = 0;
    std::uint32_t openSessionResult = 0;
    std::uint32_t changeBankResult = 0;
    bool opened = false;
    std::size_t recordCount = 0;   // 2, 1, or 0 (opening failed, or nothing to read)
    CounterRecord records[2];
};

// Called right after each record is read, before the next step.
using RecordRead = void (*)(const CounterRecord& record);

// The readout of `model`: shutter (and mirror) record from bank 0xEE. A failed read
// does not stop the readout: it leaves zeros, and its result is kept in the record
// (TavolInfo does not look at it). An Unsupported model runs nothing.
CounterReadout ReadCounters(const FactoryApi& api, const ModelChoice& model,
                            RecordRead onRead = nullptr);

}  // namespace tavol
