// ResetTimeCode: the six time-code properties are read, set back to 1 January 2000,
// 00:00:00, a Saturday (weekday field 6), with 0x02070014 = 1 and the other values 0,
// and written in the same order. SaveTimeCode (a table row) saves the same six as one list.
#include <cstdint>
#include <ios>

#include "core/camera/Property.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/SettingsProcedures.h"

namespace pellor {
namespace {

struct TIMECODE_T {
    std::uint32_t Value;
};
// Ten fields, the first six as in the calendar: second, minute, hour, day, month, year.
struct TM_T {
    std::int32_t Field[10];
};
struct TIMECODE_BASEINFO_T {
    TIMECODE_T TimeCode;
    TM_T Tm;
};
static_assert(sizeof(TIMECODE_T) == 4, "TIMECODE_T is 4 bytes");
static_assert(sizeof(TM_T) == 40, "TM_T is 40 bytes");
static_assert(sizeof(TIMECODE_BASEINFO_T) == 44, "TIMECODE_BASEINFO_T is 44 bytes");

}  // namespace

unsigned long __cdecl ResetTimeCode(void*) {
    return RunProcedure(PluginLog(), "ResetTimeCode", [&] {
        kvtlog::LogStream& log = PluginLog();
        kvtlog::Stamp(log) << "[FUNC] TIMECODE_T           - " << std::dec << sizeof(TIMECODE_T) << '\n';
        kvtlog::Stamp(log) << "[FUNC] TM_T                 - " << std::dec << sizeof(TM_T) << '\n';
        kvtlog::Stamp(log) << "[FUNC] TIMECODE_BASEINFO_T  - " << std::dec
                           << sizeof(TIMECODE_BASEINFO_T) << '\n';

        std::uint32_t timeCode = 0;
        TIMECODE_BASEINFO_T baseInfo = {};
        std::uint32_t value14 = 0, value15 = 0, value17 = 0, value18 = 0;
        struct Item {
            std::uint32_t property;
            std::uint32_t size;
            void* local;
        };
        const Item items[] = {
            {0x02070012, sizeof(timeCode), &timeCode},
            {0x02070013, sizeof(baseInfo), &baseInfo},
            {0x02070014, sizeof(value14), &value14},
            {0x02070015, sizeof(value15), &value15},
            {0x02070017, sizeof(value17), &value17},
            {0x02070018, sizeof(value18), &value18},
        };

        CPublicProperty property;
        for (const Item& item : items) {
            property.Get(item.property, item.size, item.local);
        }
        timeCode = 0;
        baseInfo = TIMECODE_BASEINFO_T{{0}, {{0, 0, 0, 1, 0, 2000, 6, 0, 0, 0}}};
        value14 = 1;
        value15 = 0;
        value17 = 0;
        value18 = 0;
        for (const Item& item : items) {
            property.Set(item.property, item.size, item.local);
        }
    });
}

}  // namespace pellor
