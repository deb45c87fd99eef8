// GBK text (compiled with the GBK execution character set).
#include "console/CounterReport.h"

#include <cstdio>

#include "console/CounterReadout.h"
#include "console/ModelTable.h"
#include "console/ResultText.h"

namespace tavol {
namespace {

// Shown on the console only (not reported).
void ShowRecord(const CounterRecord& record) {
    const char* label = record.counter == Counter::Shutter ? "ShotAddr" : "MirrorUpAddr";
    std::printf("[Debug]%s=%d  Data=", label, static_cast<int>(record.address));
    for (std::size_t i = 0; i < record.size; ++i) {
        std::printf("%d  ", static_cast<int>(record.bytes[i]));
    }
    std::printf("\n");
}

int CountOf(const CounterReadout& readout, std::size_t index) {
    return readout.opened ? static_cast<int>(readout.records[index].count) : -1;
}

}  // namespace

void ReportCounts(const FactoryApi& api, const char* productName) {
    const ModelChoice model = ChooseModel(productName);
    if (model.readout == Readout::Unsupported) {
        Report("无法处理的产品型号。\n");
        return;
    }
    const CounterReadout readout = ReadCounters(api, model, &ShowRecord);
    if (!readout.opened) {
        Report("读取错误！\n");
    }
    if (model.readout == Readout::TwoCounters) {
        Report("快门数：%d\n反光板数：%d\n", CountOf(readout, 0), CountOf(readout, 1));
    } else {
        Report("快门数：%d\n", CountOf(readout, 0));
    }
}

}  // namespace tavol
