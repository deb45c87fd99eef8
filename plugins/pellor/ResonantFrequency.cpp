// The DL resonant frequency, kept in property 0x0100000E (4 bytes) and in camera memory
// at 0x1F28 of bank 0xEE (the low 16 bits, high byte first), and in the board EEPROM
// range that "BoardInf.ini" names.
#include <cstdint>
#include <iomanip>
#include <string>
#include <vector>

#include "common/Exception.h"
#include "common/LogStream.h"
#include "core/camera/Property.h"
#include "core/camera/SLRMonitor.h"
#include "plugins/pellor/MonitorSession.h"
#include "plugins/pellor/BoardInformation.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/DataProcedures.h"
#include "plugins/pellor/DataRecords.h"
#include "plugins/pellor/MemoryDump.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/PropertyAccess.h"

namespace pellor {
namespace {

constexpr unsigned kPropDLResonantFrequency = 0x0100000E;
constexpr unsigned kFrequencyAddress = 0x1F28;

// The EEPROM range of "BoardInf.ini", with Address, Size and Count lines. A range that
// does not lie within the 128 words is refused before any camera traffic.
struct EepromRange {
    std::uint32_t Address;
    std::uint32_t Size;
    std::uint32_t Count;
};

EepromRange ReadEepromRange(bool countLine) {
    const BoardInfRange inf = ReadBoardInfRange();
    kvtlog::LogStream& log = PluginLog();
    kvtlog::Stamp(log) << "[VALU] Address - " << std::dec << inf.Address << '\n';
    kvtlog::Stamp(log) << "[VALU] Size    - " << std::dec << inf.Size << '\n';
    if (inf.Address < 0 || inf.Address >= static_cast<int>(kABoardEepromWords)) {
        kvt::Fail("[VALU] Address", 3);
    }
    if (inf.Size < 0 || inf.Size > static_cast<int>(2 * kABoardEepromWords)) {
        kvt::Fail("[VALU] Size", 3);
    }
    EepromRange range{static_cast<std::uint32_t>(inf.Address),
                      static_cast<std::uint32_t>(inf.Size),
                      static_cast<std::uint32_t>(inf.Size) / 2};
    if (countLine) {
        kvtlog::Stamp(log) << "[VALU] Count   - " << std::dec << range.Count << '\n';
    }
    if (range.Address + range.Count > kABoardEepromWords) {
        kvt::Fail("[VALU] Address + Count", 3);
    }
    return range;
}

}  // namespace

// The first two words of the range: word 0 in the low half, word 1 in the high half.
// A range of fewer than two words (Size below 4) leaves the missing halves 0.
unsigned long __cdecl GetBoardInfDLResonantFrequency(void* p) {
    return RunProcedure(PluginLog(), "GetBoardInfDLResonantFrequency", [&] {
        auto* value = RequireParameter<std::uint32_t>(p, "pvParameter");
        const EepromRange range = ReadEepromRange(true);
        std::vector<std::uint16_t> words(range.Count < 2 ? 2 : range.Count, 0);
        CEventProcedure procedure;
        for (std::uint32_t i = 0; i < range.Count; ++i) {
            int result = 0;
            procedure.Execute(std::string("FA_ReadEepromData"),
                              static_cast<int>(range.Address + i), &result);
            words[i] = static_cast<std::uint16_t>(result);
        }
        *value = std::uint32_t{words[0]} | (std::uint32_t{words[1]} << 16);
    });
}

// Writes Size / 2 words from the caller's bytes, each pair high byte first. The caller
// passes at least Size bytes (the procedure declares no size).
unsigned long __cdecl SetBoardInfDLResonantFrequency(void* p) {
    return RunProcedure(PluginLog(), "SetBoardInfDLResonantFrequency", [&] {
        const auto* bytes = RequireParameter<const unsigned char>(p, "pvParameter");
        const EepromRange range = ReadEepromRange(false);
        const std::int32_t dumpSize = static_cast<std::int32_t>(range.Size);
        DebugPrintDumpMemory(bytes, &dumpSize);
        kvtlog::Stamp(PluginLog()) << "[VALU] Count   - " << std::dec << range.Count << '\n';
        CEventProcedure procedure;
        for (std::uint32_t i = 0; i < range.Count; ++i) {
            const int address = static_cast<int>(range.Address + i);
            const int word = bytes[2 * i] * 256 + bytes[2 * i + 1];
            int result = 0;
            procedure.ClearParameters();
            procedure.PushParameterAsInteger(address, 2);
            procedure.PushParameterAsInteger(word, 2);
            procedure.Execute(std::string("FA_WriteEepromData"), &result);
            RequireCameraSuccess(result, "FA_WriteEepromData");
        }
    });
}

unsigned long __cdecl SetDLResonantFrequency(void* p) {
    return RunProcedure(PluginLog(), "SetDLResonantFrequency", [&] {
        auto* frequency = RequireParameter<unsigned char>(p, "punFrequency");
        CPublicProperty property;
        property.Set(kPropDLResonantFrequency, 4u, frequency);

        unsigned char data[2] = {frequency[1], frequency[0]};
        MonitorSession session(SLR_MONITOR::BANK_KIND_EE);
        session.Monitor().WriteMemory(kFrequencyAddress, 2u, data);
        for (unsigned char byte : data) {
            kvtlog::Stamp(PluginLog()) << "[VALU] byData - " << std::hex << std::setw(2)
                                     << std::setfill('0') << static_cast<unsigned>(byte)
                                     << std::dec << std::setfill(' ') << '\n';
        }
        session.Close();
    });
}

// The value goes into the first 32-bit word of the caller's buffer, where
// SetDLResonantFrequency takes it from; nothing beyond those 4 bytes is written.
unsigned long __cdecl GetDLResonantFrequency(void* p) {
    return RunProcedure(PluginLog(), "GetDLResonantFrequency", [&] {
        auto* out = RequireParameter<std::uint32_t>(p, "pvParameter");
        std::uint32_t frequency = 0;
        CPublicProperty property;
        ReadExactly(property, kPropDLResonantFrequency, sizeof(frequency), &frequency);
        kvtlog::Stamp(PluginLog()) << "[VALU] unFrequencyD - " << std::dec << frequency << '\n';
        *out = frequency;
    });
}

unsigned long __cdecl SaveDLResonantFrequency(void*) {
    return RunProcedure(PluginLog(), "SaveDLResonantFrequency",
                        [&] { CProperty::Save(kPropDLResonantFrequency); });
}

unsigned long __cdecl CopyDLResonantFrequency(void*) {
    return RunProcedure(PluginLog(), "CopyDLResonantFrequency", [&] {
        std::uint32_t frequency = 0;
        RequireRoutineSuccess(GetBoardInfDLResonantFrequency(&frequency),
                              "GetBoardInfDLResonantFrequency");
        RequireRoutineSuccess(SetDLResonantFrequency(&frequency), "SetDLResonantFrequency");
    });
}

}  // namespace pellor
