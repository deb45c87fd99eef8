#include "core/device/DeviceLifecycle.h"

#include "common/LogFrame.h"
#include "common/LogStream.h"
#include "core/camera/Property.h"
#include "core/transport/APIManager.h"

namespace {

kvtlog::LogStream s_log;

// Set once the transport is loaded, bound and initialised; nothing clears it.
bool s_initialized = false;

}  // namespace

int InitializeApiManager() {
    return static_cast<int>(kvtlog::RunFrame(s_log, {"[FUNC] InitializeApiManager"}, [&] {
        if (s_initialized) {
            kvtlog::Line(s_log, "[FUNC] InitializeApiManager(Dup.)");
            return;
        }
        CAPIManager& api = CAPIManager::GetInstance();
        api.LoadLibraryA();
        api.LoadFunction();
        api.Initialize();
        s_initialized = true;
    }));
}

int TerminateApiManager() {
    return static_cast<int>(kvtlog::RunFrame(s_log, {"[FUNC] TerminateApiManager"}, [&] {
        if (!s_initialized) {
            kvtlog::Line(s_log, "[FUNC] TerminateApiManager Without Init.");
            return;
        }
        CAPIManager& api = CAPIManager::GetInstance();
        api.Terminate();   // a failed termination keeps the library loaded
        api.FreeLibrary();
    }));
}

extern "C" int __cdecl OpenDevice() {
    return static_cast<int>(kvtlog::RunFrame(s_log, {"[FUNC] OpenDevice"}, [&] {
        const int initialized = InitializeApiManager();
        if ((initialized & 1) != 0) {
            kvt::Fail("[FUNC] InitializeApiManager", static_cast<unsigned long>(initialized));
        }
        CAPIManager& api = CAPIManager::GetInstance();
        api.GetDeviceInfoArray();
        api.ConnectCameraEx();
        api.SelectCamera(0);
        CProperty::Initialize();   // the digital property data are set up once per open
    }));
}

extern "C" int __cdecl CloseDevice() {
    return static_cast<int>(kvtlog::RunFrame(s_log, {"[FUNC] CloseDevice"}, [] {}));
}
