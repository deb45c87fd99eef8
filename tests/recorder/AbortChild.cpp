// A program that records a few calls and then ends abnormally: it loads the recorder
// given as its argument (the DLL's path), opens the camera, runs "MonOpen" and
// terminates itself with exit code 7, without unloading anything.
#include <cstdio>
#include <string>

#include "common/Win32.h"
#include "core/transport/TransportApi.h"
#include "simulator/recorder/TargetLibrary.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::printf("usage: recorder_abort_child <recorder DLL>\n");
        return 2;
    }
    kvtrecorder::TargetLibrary recorder;
    std::string error;
    if (recorder.Load(argv[1], nullptr, &error) !=
        kvtrecorder::LoadResult::Bound) {
        std::printf("%s\n", error.c_str());
        return 3;
    }
    const kvtrecorder::TargetFunctions& t = recorder.Functions();
    void* records = nullptr;
    unsigned count = 0, handle = 0, result = 0, zero = 0;
    const bool ok = t.Initialize() == 0 && t.GetDeviceInfoArray(&records, &count) == 0 &&
                    t.ConnectCamera(records, &handle) == 0 &&
                    t.ClearRemoteEventProcedureParameter(handle) == 0 &&
                    t.PushRemoteEventProcedureSendParameter(handle, 2, &zero, 4) == 0 &&
                    t.ExecuteRemoteEventProcedure(handle, "MonOpen", 0, &result) == 0;
    if (!ok) {
        std::printf("a call failed\n");
        return 4;
    }
    std::fflush(stdout);
    ::TerminateProcess(::GetCurrentProcess(), 7);
    return 5;
}
