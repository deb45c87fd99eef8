// The six exports of the factory API library ("oxrmsg.dll") that the counter readout
// uses, with the types of the public header (conventions included).
#pragma once

#include "include/kvt_factory.h"

namespace tavol {

// The bound exports; each returns 0 on success.
struct FactoryApi {
    decltype(&KVT_OpenDevice) openDevice = nullptr;
    decltype(&KVT_MonitorOpenSession) monitorOpenSession = nullptr;
    decltype(&KVT_MonitorCloseSession) monitorCloseSession = nullptr;
    decltype(&KVT_CloseDevice) closeDevice = nullptr;
    decltype(&KVT_MonitorChangeBank) monitorChangeBank = nullptr;
    decltype(&KVT_MonitorReadMemory) monitorReadMemory = nullptr;
};

}  // namespace tavol
