#include "core/AutoTimer.h"

#include <iomanip>
#include <utility>

#include "common/LogFile.h"
#include "common/LogStream.h"
#include "common/LogTexts.h"
#include "core/GlobalTimer.h"
#include "core/transport/TransportState.h"

namespace {
kvtlog::LogStream s_log;
}  // namespace

CAutoTimer::CAutoTimer(std::string label) noexcept
    : _StartTime(CGlobalTimer::GetInstance().GetElapsedTime()),
      _CameraIndex(corvane::Transport().cameraIndex),
      _Label(std::move(label)) {}

CAutoTimer::~CAutoTimer() {
    const std::int64_t elapsed = CGlobalTimer::GetInstance().GetElapsedTime() - _StartTime;
    namespace text = kvtlog::text;
    kvtlog::Stamp(s_log) << text::kTimingTag << std::dec << std::setfill(' ')
                         << std::setw(text::kTimingWidth)
                         << static_cast<std::uint32_t>(elapsed & 0xFFFFFFFF) << text::kTimingUnit
                         << text::kTimingCamera << _CameraIndex << text::kTimingLabel << _Label
                         << '\n';
    kvtlog::CommitLog(s_log);
}
