#include "simulator/camera/CameraCalendar.h"

#include "common/Win32.h"

namespace kvtsim {
namespace {
// Days since 1970-01-01 of a proleptic Gregorian date (month 1-12).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t* y, unsigned* m, unsigned* d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    *d = doy - (153 * mp + 2) / 5 + 1;
    *m = mp < 10 ? mp + 3 : mp - 9;
    *y = static_cast<std::int64_t>(yoe) + era * 400 + (*m <= 2);
}

bool IsLeap(std::int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

unsigned DaysInMonth(std::int64_t y, unsigned month0) {
    static const unsigned days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month0 == 1 && IsLeap(y) ? 29 : days[month0];
}

std::int64_t SecondsOf(const DateTime& t) {
    return DaysFromCivil(t.year, static_cast<unsigned>(t.month) + 1,
                         static_cast<unsigned>(t.day)) * 86400 +
           t.hour * 3600 + t.minute * 60 + t.second;
}
}  // namespace

bool CameraCalendar::Valid(const DateTime& t) {
    return t.year >= 1970 && t.year <= 9999 && t.month >= 0 && t.month <= 11 && t.day >= 1 &&
           static_cast<unsigned>(t.day) <= DaysInMonth(t.year, static_cast<unsigned>(t.month)) &&
           t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
           t.second <= 59;
}

void CameraCalendar::Set(const DateTime& t) {
    _setSeconds = SecondsOf(t);
    _setTick = ::GetTickCount64();
}

void CameraCalendar::SetToHostTime() {
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    DateTime t;
    t.year = st.wYear;
    t.month = st.wMonth - 1;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    Set(t);
}

void CameraCalendar::SetRunning(bool running) {
    if (running == _running) {
        return;
    }
    DateTime now = Now();  // keep the time shown at the switch
    _running = running;
    Set(now);
}

void CameraCalendar::Reset() {
    Set(DateTime());
}

DateTime CameraCalendar::Now() const {
    std::int64_t s = _setSeconds;
    if (_running) {
        s += static_cast<std::int64_t>((::GetTickCount64() - _setTick) / 1000);
    }
    std::int64_t days = s / 86400;
    std::int64_t rest = s % 86400;
    std::int64_t y;
    unsigned m, d;
    CivilFromDays(days, &y, &m, &d);
    DateTime t;
    t.year = static_cast<std::int32_t>(y);
    t.month = static_cast<std::int32_t>(m) - 1;
    t.day = static_cast<std::int32_t>(d);
    t.hour = static_cast<std::int32_t>(rest / 3600);
    t.minute = static_cast<std::int32_t>(rest / 60 % 60);
    t.second = static_cast<std::int32_t>(rest % 60);
    return t;
}

Bytes CameraCalendar::Record() const {
    DateTime t = Now();
    std::int64_t days = DaysFromCivil(t.year, static_cast<unsigned>(t.month) + 1,
                                      static_cast<unsigned>(t.day));
    std::int32_t weekday = static_cast<std::int32_t>((days % 7 + 11) % 7);  // 1970-01-01: Thursday
    std::int32_t yearDay = static_cast<std::int32_t>(days - DaysFromCivil(t.year, 1, 1));
    const std::int32_t fields[9] = {t.second, t.minute, t.hour, t.day, t.month,
                                    t.year, weekday, yearDay, 0};
    Bytes out;
    for (std::int32_t f : fields) {
        PutLe32(out, static_cast<std::uint32_t>(f));
    }
    return out;
}

bool CameraCalendar::FromRecord(const Bytes& record, DateTime* t) {
    if (record.size() < 24) {
        return false;
    }
    auto field = [&](int i) { return static_cast<std::int32_t>(GetLe32(record.data() + 4 * i)); };
    DateTime r;
    r.second = field(0);
    r.minute = field(1);
    r.hour = field(2);
    r.day = field(3);
    r.month = field(4);
    r.year = field(5);
    if (!Valid(r)) {
        return false;
    }
    *t = r;
    return true;
}

}  // namespace kvtsim
