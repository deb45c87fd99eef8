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
    bool Loaded() const { return static_cast<bool>(_module); }

    const kvttools::FactoryExports& Api() const { return _api; }
    HMODULE Module() const { return _module.Get(); }
    // The folder the library was loaded from, with its trailing backslash.
    std::string Folder() const;

private:
    kvt::UniqueModule _module;
    kvttools::FactoryExports _api;
};

// KVT_OpenDevice for the life of the object; KVT_CloseDevice at its end.
class OpenDevice {
public:
    // ExportFailure when the device does not open.
    explicit OpenDevice(const kvttools::FactoryExports& api);
    ~OpenDevice();
    OpenDevice(const OpenDevice&) = delete;
    OpenDevice& operator=(const OpenDevice&) = delete;

    // Closes now; ExportFailure when that fails. The destructor closes silently.
    void Close();

private:
    const kvttools::FactoryExports& _api;
    bool _open = true;
};

// A monitor session (KVT_MonitorOpenSession) for the life of the object.
class MonitorSession {
public:
    explicit MonitorSession(const kvttools::FactoryExports& api);
    ~MonitorSession();
    MonitorSession(const MonitorSession&) = delete;
    MonitorSession& operator=(const MonitorSession&) = delete;

    void Close();

private:
    const kvttools::FactoryExports& _api;
    bool _open = true;
};

}  // namespace kvtcli
