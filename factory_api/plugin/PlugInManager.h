// The plug-ins of the factory API library: one CPlugInInstance per discovered file,
// held by shared pointers in the one CPlugInManager of the process.
//
// The manager is filled once per library load (RegisterPlugInList), its instances get
// their module handles in LoadPlugIns and lose them in FreePlugIns at unload. The list
// and the set of internal names live until the library is unloaded.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/Win32.h"

class CPlugInInstance {
public:
    CPlugInInstance(std::string plugInName, std::string fullPath, std::string internalName);
    virtual ~CPlugInInstance();

    CPlugInInstance(const CPlugInInstance&) = delete;
    CPlugInInstance& operator=(const CPlugInInstance&) = delete;

    std::string GetPlugInName() const;   // the file name
    std::string GetPlugInPath() const;   // the full path
    std::string GetInternalName() const;
    HMODULE GetModule() const noexcept;  // null until loaded, and after it is freed
    void SetModule(HMODULE module) noexcept;

    // The export `name` of the loaded module as a function of type Fn, or null (also
    // while not loaded). Looked up by the exact, undecorated name.
    template <class Fn>
    Fn FindExport(const char* name) const noexcept {
        HMODULE module = GetModule();
        if (module == nullptr) {
            return nullptr;
        }
        // FARPROC to the export's own type, through the generic function type.
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
    }

private:
    struct Record;
    std::unique_ptr<Record> _pRecord;
};

using PlugInList = std::vector<std::shared_ptr<CPlugInInstance>>;

class CPlugInManager {
public:
    static CPlugInManager& GetInstance();
    virtual ~CPlugInManager();

    CPlugInManager(const CPlugInManager&) = delete;
    CPlugInManager& operator=(const CPlugInManager&) = delete;

    // Adds the file unless a file with its internal name was added before ("Founded").
    void AddPlugIn(const std::string& fullPath);
    // Loads every instance in list order; the first failure throws "[WAPI] LoadLibrary"
    // (1) and leaves the later ones unloaded.
    void LoadPlugIns();
    // Frees every loaded instance; the list and the names stay.
    void FreePlugIns() noexcept;
    // A copy of the list: it keeps every instance alive while the caller walks it.
    PlugInList GetPlugInList() const;

private:
    CPlugInManager();

    PlugInList _PlugInList;
    std::set<std::string> _InternalNames;
};

// "<name>" of "<folder>\<name>"; the whole text if it has no backslash.
std::string FileNameOfPath(const std::string& fullPath);
