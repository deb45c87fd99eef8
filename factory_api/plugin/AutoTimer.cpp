#include "factory_api/plugin/AutoTimer.h"

#include <cstdio>
#include <iomanip>
#include <sstream>
#include <utility>

#include "common/LogFile.h"
#include "core/GlobalTimer.h"

namespace kvtq517 {

CAutoTimer::CAutoTimer(kvtlog::LogStream& log) noexcept
    : _Log(log), _StartTime(CGlobalTimer::GetInstance().GetElapsedTime()) {}

CAutoTimer::~CAutoTimer() {
    try {
        const std::int64_t elapsed = CGlobalTimer::GetInstance().GetElapsedTime() - _StartTime;
        const std::string line = FormatLine(_Label, static_cast<std::uint32_t>(elapsed));
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        kvtlog::Stamp(_Log) << line << '\n';
        kvtlog::CommitLog(_Log);
    } catch (...) {
        // A destructor never throws; the duration line is only a diagnostic.
    }
}

void CAutoTimer::SetLabel(std::string label) noexcept {
    _Label.swap(label);
}

std::string CAutoTimer::FormatLine(const std::string& label, std::uint32_t elapsedMs) {
    std::ostringstream out;
    out << label << " = " << std::dec << std::right << std::setfill(' ') << std::setw(6)
        << elapsedMs << " msec.";
    return out.str();
}

}  // namespace kvtq517
