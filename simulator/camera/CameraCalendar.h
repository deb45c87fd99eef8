// The camera's clock. Its 36-byte calendar record is nine signed 32-bit values:
// second, minute, hour, day (1-31), month (0-11), year (e.g. 2024), weekday
// (0 = Sunday), day of the year (0-365) and 0 - the field order of the camera's own
// time records. A running clock advances with the host's clock from the moment it
// was set; a frozen one keeps the set time.
#pragma once

#include <cstdint>

#include "simulator/camera/Bytes.h"

namespace kvtsim {

struct DateTime {
    std::int32_t second = 0, minute = 0, hour = 0, day = 1, month = 0, year = 2000;
};

class CameraCalendar {
public:
    static constexpr std::size_t kRecordBytes = 36;

    static bool Valid(const DateTime& t);
    void Set(const DateTime& t);  // t must be Valid
    void SetToHostTime();
    void SetRunning(bool running);
    void Reset();  // 1 January 2000, 00:00:00
    DateTime Now() const;
    Bytes Record() const;
    // Fields 0 to 5 of a record; false when the record is short or the date invalid.
    static bool FromRecord(const Bytes& record, DateTime* t);

private:
    std::int64_t _setSeconds = 946684800;  // the set time, seconds since 1970-01-01
    std::uint64_t _setTick = 0;            // host milliseconds when it was set
    bool _running = true;
};

}  // namespace kvtsim
