// The factory API library "oxrmsg.dll", loaded and bound as any factory program does:
// by its bare file name (the program's folder comes first in the search), every
// export by name.
#pragma once

#include <string>

#include "common/Handles.h"
#include "tools/common/FactoryExports.h"

namespace kvtcli {

class FactoryLibrary {
public:
    // Loads the library and binds every export; ToolFailure when it cannot be loaded
    // or lacks an export (all missing names said).
    void Load();

    const kvttools::FactoryExports& Api() const { return _api; }
    HMODULE Module() const { return _module.Get(); }
    // The folder the library was loaded from, with its trailing backslash.
    std::string Folder() const;

private:
    kvt::UniqueModule _module;
    kvttools::FactoryExports _api;
};

// A pair of exports held open for the life of the object: the device
// (KVT_OpenDevice / KVT_CloseDevice) or a monitor session.
class HeldOpen {
public:
    using Export = unsigned long(KVT_CALL*)(void);

    // Runs `open`; ExportFailure when it fails (and then nothing is closed).
    HeldOpen(const char* openStep, Export open, const char* closeStep, Export close);
    // Closes silently when Close did not run.
    ~HeldOpen();
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;

    // Closes now; ExportFailure when that fails.
    void Close();

private:
    const char* _closeStep;
    Export _close;
    bool _open = true;
};

// KVT_OpenDevice now, KVT_CloseDevice at the end.
class OpenDevice : public HeldOpen {
public:
    explicit OpenDevice(const kvttools::FactoryExports& api)
        : HeldOpen("KVT_OpenDevice", api.openDevice, "KVT_CloseDevice", api.closeDevice) {}
};

// KVT_MonitorOpenSession now, KVT_MonitorCloseSession at the end.
class MonitorSession : public HeldOpen {
public:
    explicit MonitorSession(const kvttools::FactoryExports& api)
        : HeldOpen("KVT_MonitorOpenSession", api.monitorOpenSession, "KVT_MonitorCloseSession",
                   api.monitorCloseSession) {}
};

}  // namespace kvtcli
