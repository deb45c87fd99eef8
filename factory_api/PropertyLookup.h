// Finding an adjustment property by name through the plug-in's event procedure
// "SearchPropertyData", which fills in the identifier and size of the record.
#pragma once

#include "include/kvt_records.h"

namespace kvtq517 {

// The record of one adjustment property: the SDK's record, as the plug-in lays it out.
using PROPERTY_DATA_T = ::PROPERTY_DATA_T;

// Copies the name (at most 63 characters, checked by the caller) into a fresh record,
// logs it, runs "SearchPropertyData" through KVT_ExecuteEventProc, logs the identifier
// and size, and returns the procedure's result; `record` holds what it filled in.
unsigned long SearchPropertyData(const char* name, PROPERTY_DATA_T& record);

}  // namespace kvtq517
