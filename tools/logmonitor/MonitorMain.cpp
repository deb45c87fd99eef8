// KvtLogMonitor: prints live the log text a product process sends with
// CStateMonitor::SyncWrite. Log text goes to standard output; the channel library's
// progress and the monitor's own status lines go to standard error.
#include <cstdio>
#include <string>

#include "common/Handles.h"
#include "common/Win32.h"
#include "core/channel/ComLibOutput.h"
#include "tools/logmonitor/LogMonitor.h"
#include "tools/logmonitor/MonitorOptions.h"

namespace {

HANDLE s_stop = nullptr;      // set by the console handler
HANDLE s_stopped = nullptr;   // set once the channels are closed

BOOL WINAPI MonitorCtrlHandler(DWORD ctrlType) {
    ::SetEvent(s_stop);
    if (ctrlType == CTRL_CLOSE_EVENT || ctrlType == CTRL_LOGOFF_EVENT ||
        ctrlType == CTRL_SHUTDOWN_EVENT) {
        // The process ends when this returns: let the main thread detach first.
        ::WaitForSingleObject(s_stopped, 5000);
    }
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    MonitorOptions options;
    std::string error;
    if (!ParseMonitorOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "KvtLogMonitor: %s\n%s", error.c_str(), kMonitorUsage);
        return 2;
    }
    kvt::UniqueKernelHandle stop(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    kvt::UniqueKernelHandle stopped(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!stop || !stopped) {
        std::fprintf(stderr, "[KvtLogMonitor] CreateEvent failed [ERROR:%lu]\n",
                     ::GetLastError());
        return 1;
    }
    s_stop = stop.Get();
    s_stopped = stopped.Get();
    ComLibSetProgressOutput(stderr);

    LogMonitor monitor(options, stdout, stderr);
    if (!monitor.Attach()) {
        return 1;
    }
    // Installed after the channel library's own handler, so it is asked first. Ctrl+C
    // may have been switched off by the parent: switch it back on.
    ::SetConsoleCtrlHandler(nullptr, FALSE);
    ::SetConsoleCtrlHandler(&MonitorCtrlHandler, TRUE);

    const bool ran = monitor.Run(stop.Get());
    monitor.Detach();
    std::fputs("[KvtLogMonitor] stopped\n", stderr);
    std::fflush(stderr);
    ::SetEvent(stopped.Get());
    return ran ? 0 : 1;
}
