// GetDateTime and SetDateTime (DATETIME_T: year, month, day, hour, minute, second as
// signed 32-bit values) through the camera's 36-byte calendar record, whose first six
// fields hold the same values in the reverse order. Values are copied as
// they are: no conversion of month or year.
//
// Both calendar routines log under the name "_GetCalendar", the write routine too:
// logs are searched for that name.
#include <cstdint>
#include <cstring>

#include "common/Exception.h"
#include "core/camera/EventProcedure.h"
#include "plugins/pellor/DataRecords.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/SettingsProcedures.h"

namespace pellor {
namespace {

constexpr unsigned kCalendarFields = 9;
// The first six fields of the calendar record; the other three are not interpreted.
enum CalendarField : unsigned { kSecond, kMinute, kHour, kDay, kMonth, kYear };
constexpr unsigned kCalendarBytes = kCalendarFields * sizeof(std::int32_t);
constexpr char kCalendarRoutine[] = "_GetCalendar";

// Reads the calendar; a record of another size than 36 bytes fails.
unsigned long ReadCalendar(std::int32_t* calendar) {
    return RunProcedure(PluginLog(), kCalendarRoutine, [&] {
        RequireParameter<void>(calendar, "(void*)pCalendar");
        CEventProcedure procedure;
        procedure.ClearParameters();
        unsigned count = 0;
        int result = 0;
        procedure.ExecuteAndGetData("FA_GetCalendar", calendar, kCalendarBytes, &count, &result);
        if (count != kCalendarBytes) {
            kvt::Fail("[VALU] ReturnDataSize", 35);
        }
    });
}

// Sends the calendar as one block; the camera's result is not tested.
unsigned long WriteCalendar(std::int32_t* calendar) {
    return RunProcedure(PluginLog(), kCalendarRoutine, [&] {
        RequireParameter<void>(calendar, "(void*)pCalendar");
        CEventProcedure procedure;
        procedure.ClearParameters();
        procedure.PushParameterAsSafeArray(calendar, kCalendarBytes);
        int result = 0;
        procedure.Execute("FA_SetCalendar", &result);
    });
}

}  // namespace

unsigned long __cdecl GetDateTime(void* p) {
    return RunProcedure(PluginLog(), "GetDateTime", [&] {
        auto* out = static_cast<std::uint8_t*>(RequireParameter<void>(p, "pDateTime"));
        std::int32_t calendar[kCalendarFields] = {};
        RequireRoutineSuccess(ReadCalendar(calendar), kCalendarRoutine);
        const DATETIME_T dateTime = {calendar[kYear], calendar[kMonth],  calendar[kDay],
                                     calendar[kHour], calendar[kMinute], calendar[kSecond]};
        std::memcpy(out, &dateTime, sizeof(dateTime));
    });
}

// The three fields after the year (not interpreted here) are sent as 0.
unsigned long __cdecl SetDateTime(void* p) {
    return RunProcedure(PluginLog(), "SetDateTime", [&] {
        const auto* in = static_cast<const std::uint8_t*>(RequireParameter<void>(p, "pDateTime"));
        DATETIME_T dateTime;
        std::memcpy(&dateTime, in, sizeof(dateTime));
        std::int32_t calendar[kCalendarFields] = {};
        calendar[kYear] = dateTime.Year;
        calendar[kMonth] = dateTime.Month;
        calendar[kDay] = dateTime.Day;
        calendar[kHour] = dateTime.Hour;
        calendar[kMinute] = dateTime.Minute;
        calendar[kSecond] = dateTime.Second;
        RequireRoutineSuccess(WriteCalendar(calendar), kCalendarRoutine);
    });
}

}  // namespace pellor
