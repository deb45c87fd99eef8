// KVT_Debug: creates the gain data folder of the connected camera,
// <debug-data folder>IsoGain\<body number>\Data\, and logs it. A failure to create it
// returns the code CFilePath raised.
#include "include/kvt_factory.h"

#include <string>

#include "common/FilePath.h"
#include "common/LogFrame.h"
#include "factory_api/ModuleState.h"

using namespace kvtq517;

unsigned long __stdcall KVT_Debug() {
    return kvtlog::RunFrame(ApiLog(), {"[KVTI] KVT_Debug"}, [] {
        CFilePath path;
        const std::string individual = path.CreateIndividualDirectory("IsoGain", "Data");
        kvtlog::Stamp(ApiLog()) << "[VALU] IndividualFullPath - " << individual << '\n';
    });
}
