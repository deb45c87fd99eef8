// A monitor session on one bank for the length of a procedure.
//
// CSLRMonitor's destructor does not close an open session, so a procedure whose step
// fails inside the session would leave the camera in monitor mode. This owner closes
// it on that path too ("MonClose"); a failure of that close is logged and dropped, so
// the procedure reports the step that failed.
#pragma once

#include "core/camera/SLRMonitor.h"

namespace pellor {

class MonitorSession {
public:
    // The bank first (no camera call), so that a failing open leaves nothing to close.
    explicit MonitorSession(SLR_MONITOR::tagBANK_KIND_T bank);
    ~MonitorSession();

    MonitorSession(const MonitorSession&) = delete;
    MonitorSession& operator=(const MonitorSession&) = delete;

    CSLRMonitor& Monitor() { return _monitor; }
    // The normal end of the session; a failing close is raised.
    void Close();

private:
    CSLRMonitor _monitor;
    bool _closed = false;
};

}  // namespace pellor
