// The A-board EEPROM: 128 16-bit words, one camera-side call per word. Every procedure
// turns power save off first and on again at the end (CCameraSystem), also on failure.
#include <cstdint>
#include <iomanip>
#include <string>

#include "common/Exception.h"
#include "common/LogStream.h"
#include "plugins/pellor/CameraSystem.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/DataProcedures.h"
#include "plugins/pellor/DataRecords.h"
#include "plugins/pellor/ProcedureFrame.h"

namespace pellor {
namespace {

void WriteWordLine(const char* head, std::uint32_t value) {
    kvtlog::Stamp(PluginLog()) << head << std::dec << value << "( 0x" << std::hex << std::setw(4)
                             << std::setfill('0') << value << " )" << std::dec
                             << std::setfill(' ') << '\n';
}

// In this order: Count 1 to 128, Address below 128, Address + Count at most 128.
void ValidateRange(const ABOARD_EEPROM_DATA_T& data) {
    if (data.Count == 0 || data.Count > kABoardEepromWords) {
        kvt::Fail("[VALU] pData->Count", 3);
    }
    if (data.Address >= kABoardEepromWords) {
        kvt::Fail("[VALU] pData->Address", 3);
    }
    if (data.Address + data.Count > kABoardEepromWords) {
        kvt::Fail("[VALU] pData->Address + pData->Count", 3);
    }
}

}  // namespace

unsigned long __cdecl DebugPrintABoardEepromData(void*) {
    return RunProcedure(PluginLog(), "DebugPrintABoardEepromData", [&] {
        CCameraSystem system;
        system.DisablePowerSave();
        for (int address = 0; address < static_cast<int>(kABoardEepromWords); ++address) {
            int result = 0;
            system.Execute(std::string("FA_ReadEepromData"), address, &result);
            const unsigned word = static_cast<unsigned>(result) & 0xFFFFu;
            kvtlog::Stamp(PluginLog()) << "[VALU] Data( 0x" << std::hex << std::setw(2)
                                     << std::setfill('0') << address << " ) - 0x" << std::setw(4)
                                     << word << std::dec << std::setfill(' ') << '\n';
        }
        system.EnablePowerSave();
    });
}

// A null parameter is refused before any camera traffic, power save included.
unsigned long __cdecl GetABoardEepromData(void* p) {
    return RunProcedure(PluginLog(), "GetABoardEepromData", [&] {
        auto* data = RequireParameter<ABOARD_EEPROM_DATA_T>(p, "pData");
        CCameraSystem system;
        system.DisablePowerSave();
        kvtlog::LogStream& log = PluginLog();
        kvtlog::Stamp(log) << "[----] pData->Address : " << std::dec << data->Address << '\n';
        kvtlog::Stamp(log) << "[----] pData->Count   : " << std::dec << data->Count << '\n';
        ValidateRange(*data);
        for (std::uint32_t i = 0; i < data->Count; ++i) {
            const std::uint32_t address = data->Address + i;
            int result = 0;
            system.Execute(std::string("FA_ReadEepromData"), static_cast<int>(address), &result);
            data->Data[address] = static_cast<std::uint32_t>(result);
            WriteWordLine("[VALU] Data - ", data->Data[address]);
        }
        system.EnablePowerSave();
    });
}

// A null parameter is refused before any camera traffic, power save included.
unsigned long __cdecl SetABoardEepromData(void* p) {
    return RunProcedure(PluginLog(), "SetABoardEepromData", [&] {
        const auto* data = RequireParameter<const ABOARD_EEPROM_DATA_T>(p, "pData");
        CCameraSystem system;
        system.DisablePowerSave();
        ValidateRange(*data);
        for (std::uint32_t i = 0; i < data->Count; ++i) {
            const std::uint32_t address = data->Address + i;
            const std::uint32_t value = data->Data[address];
            WriteWordLine("[VALU] ulData - ", value);
            const int pushedAddress = static_cast<int>(address);
            const int pushedValue = static_cast<int>(value);
            int result = 0;
            system.ClearParameters();
            system.PushParameterAsInteger(pushedAddress, 2);
            system.PushParameterAsInteger(pushedValue, 2);
            system.Execute(std::string("FA_WriteEepromData"), &result);
        }
        system.EnablePowerSave();
    });
}

}  // namespace pellor
