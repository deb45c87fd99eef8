#include "common/LogBanner.h"

#include <cstdio>

#include "common/LogFile.h"
#include "common/LogTexts.h"
#include "core/GlobalTimer.h"

namespace kvtlog {

void BannerRule(LogStream& log) {
    Line(log, text::kBannerRule);
}

void BannerTitle(LogStream& log, const char* module, const char* event) {
    Stamp(log) << text::kBannerTitle << module << ' ' << event << '\n';
}

void WriteBanner(LogStream& log, const char* module, const char* event) {
    BannerRule(log);
    BannerTitle(log, module, event);
    BannerRule(log);
    CommitLog(log);
}

std::string AscTimeText(const std::tm& t) {
    static const char kDays[7][4] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char kMonths[12][4] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (t.tm_wday < 0 || t.tm_wday > 6 || t.tm_mon < 0 || t.tm_mon > 11) {
        return std::string();
    }
    char text[64];
    const int n = std::snprintf(text, sizeof(text), "%.3s %.3s%3d %.2d:%.2d:%.2d %d\n",
                                kDays[t.tm_wday], kMonths[t.tm_mon], t.tm_mday, t.tm_hour,
                                t.tm_min, t.tm_sec, 1900 + t.tm_year);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof(text)) {
        return std::string();
    }
    return std::string(text, static_cast<std::size_t>(n));
}

void WriteCurrentTime(LogStream& log) {
    const std::time_t now = std::time(nullptr);
    // Load and unload run on one thread; localtime's shared result is not contended.
    const std::tm* local = now != static_cast<std::time_t>(-1) ? std::localtime(&now) : nullptr;
    const std::string when = local != nullptr ? AscTimeText(*local) : std::string();
    if (when.empty()) {
        Line(log, "[VALU] Invalid Time");
    } else {
        Stamp(log) << text::kCurrentTime << when;
    }
    CommitLog(log);
}

void StartLibraryLog(LogStream& log, const char* module) {
    CGlobalTimer::GetInstance().Start();
    StartLogStaging();
    WriteBanner(log, module, text::kBannerLoad);
}

void StopLibraryLog(LogStream& log, const char* module) {
    WriteBanner(log, module, text::kBannerUnload);
    StopLogStaging();
}

}  // namespace kvtlog
