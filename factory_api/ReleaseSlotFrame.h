// The frame of the exports that address a camera by slot (the S variants): the body
// selects its slot itself; whatever it does, camera slot 0 is selected again after its
// failure lines and before the exit line.
#pragma once

#include <utility>

#include "common/LogFrame.h"
#include "core/transport/APIManager.h"
#include "factory_api/ModuleState.h"

namespace kvtq517 {

inline void SelectCameraSlot(unsigned long slot) {
    const unsigned index = static_cast<unsigned>(slot);
    CAPIManager::GetInstance().SelectCamera(index);
}

// Runs `body` in the boundary frame of `lines`. `after` runs behind the body's failure
// lines and before the exit line, with the failure lines of its own; the result is the
// body's, or the after step's when the body succeeded.
template <class Body, class After>
unsigned long RunFrameWithAfterStep(const kvtlog::FrameLines& lines, Body&& body,
                                    After&& after) noexcept {
    kvtlog::LogStream& log = ApiLog();
    kvtlog::FrameLines inner = lines;
    inner.header = false;
    inner.exitLine = false;
    return kvtlog::RunFrame(log, lines, [&]() -> unsigned long {
        const unsigned long result = kvtlog::RunFrame(log, inner, body);
        const unsigned long afterResult = kvtlog::RunFrame(log, inner, after);
        return result != 0 ? result : afterResult;
    });
}

template <class Body>
unsigned long RunSlotFrame(const kvtlog::FrameLines& lines, Body&& body) noexcept {
    return RunFrameWithAfterStep(lines, std::forward<Body>(body), [] { SelectCameraSlot(0); });
}

}  // namespace kvtq517
