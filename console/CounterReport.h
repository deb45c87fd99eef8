// The tool's report of the counts: the readout of the model the product name selects,
// each record shown on the console as it is read, the counts reported.
#pragma once

#include "console/FactoryApi.h"

namespace tavol {

// Reports "快门数：" (and "反光板数：") with the counts, -1 after "读取错误！" when the
// opening failed, or "无法处理的产品型号。" for a model without counters.
void ReportCounts(const FactoryApi& api, const char* productName);

}  // namespace tavol
