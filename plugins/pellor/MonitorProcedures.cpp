// The procedures that work through the camera's monitor, all on bank 0xFC.
//
// MPUReset: monitor function 0x76.
// CheckLensActivity: write the lens command 07 12 80 12 20 90 00 00 at address 0, call
// function 0x0F, read the 8 bytes back (the status is bit 0 of the eighth), send them
// again with the command bytes 02 12 80 and call 0x0F once more; the lens is active
// when the status is 1. An answer shorter than 8 bytes has no status to judge: it fails
// ("[VALU] ReturnDataSize", 35) before anything is sent back.
#include <cstdint>
#include <ios>

#include "common/Exception.h"
#include "common/LogFile.h"
#include "plugins/pellor/MonitorSession.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/SettingsProcedures.h"

namespace pellor {
namespace {

constexpr SLR_MONITOR::tagBANK_KIND_T kServiceBank = SLR_MONITOR::BANK_KIND_FC;
constexpr unsigned kResetFunction = 0x76;
constexpr unsigned kLensFunction = 0x0F;
constexpr unsigned kLensAddress = 0;
constexpr unsigned kLensBlockSize = 8;

}  // namespace

unsigned long __cdecl MPUReset(void*) {
    return RunProcedure(PluginLog(), "MPUReset", [&] {
        MonitorSession session(kServiceBank);
        session.Monitor().CallFunction(kResetFunction);
        session.Close();
    });
}

unsigned long __cdecl CheckLensActivity(void*) {
    return RunProcedure(PluginLog(), "CheckLensActivity", [&] {
        MonitorSession session(kServiceBank);
        CSLRMonitor& monitor = session.Monitor();

        std::uint8_t command[kLensBlockSize] = {0x07, 0x12, 0x80, 0x12, 0x20, 0x90, 0x00, 0x00};
        monitor.WriteMemory(kLensAddress, kLensBlockSize, command);
        monitor.CallFunction(kLensFunction);

        std::uint8_t reply[kLensBlockSize] = {};
        unsigned count = kLensBlockSize;
        monitor.ReadMemory(kLensAddress, count, reply);
        if (count != kLensBlockSize) {
            kvt::Fail("[VALU] ReturnDataSize", 35);
        }
        const unsigned status = reply[kLensBlockSize - 1] & 1u;
        kvtlog::Stamp(PluginLog()) << "[VALU] lStatus - " << std::dec << status << '\n';
        kvtlog::CommitLog(PluginLog());

        reply[0] = 0x02;
        reply[1] = 0x12;
        reply[2] = 0x80;
        monitor.WriteMemory(kLensAddress, kLensBlockSize, reply);
        monitor.CallFunction(kLensFunction);
        session.Close();

        if (status != 1) {
            kvt::Fail("[VALU] lStatus", 35);
        }
    });
}

}  // namespace pellor
