#include "tools/kvt/ProcedureRegistry.h"

#include <algorithm>

#include "common/Handles.h"
#include "common/Win32.h"
#include "tools/procref/RegisteredProcedures.h"

namespace kvtcli {
namespace {

// The model folder of the factory API library (model 0x80000517) and the patterns its
// plug-in search uses, in its order.
constexpr char kPlugInFolder[] = "_Q517_\\PlugIn\\";
const char* const kPlugInPatterns[] = {"*.q517", "*.q517.dll"};

std::vector<std::string> PlugInFiles(const std::string& folder) {
    std::vector<std::string> files;
    for (const char* pattern : kPlugInPatterns) {
        WIN32_FIND_DATAA found;
        kvt::UniqueFind search(::FindFirstFileA((folder + pattern).c_str(), &found));
        if (!search) {
            continue;
        }
        do {
            const std::string name = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
                std::find(files.begin(), files.end(), name) == files.end()) {
                files.push_back(name);
            }
        } while (::FindNextFileA(search.Get(), &found));
    }
    return files;
}

bool LoadedInProcess(const std::string& path) {
    HMODULE module = nullptr;
    return ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, path.c_str(),
                                &module) != 0 &&
           module != nullptr;
}

// The reference built into kvt (kvt.rc): the plug-in's description file.
const std::vector<procref::Description>& Descriptions() {
    static const std::vector<procref::Description> descriptions = [] {
        std::vector<procref::Description> parsed;
        HRSRC resource = ::FindResourceA(nullptr, "PROCEDURE_DESCRIPTIONS", MAKEINTRESOURCEA(10));
        HGLOBAL loaded = resource != nullptr ? ::LoadResource(nullptr, resource) : nullptr;
        const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
        if (bytes != nullptr) {
            const std::string text(static_cast<const char*>(bytes), ::SizeofResource(nullptr, resource));
            std::vector<std::string> problems;
            parsed = procref::ParseDescriptions(text, "ProcedureDescriptions.txt", problems);
        }
        return parsed;
    }();
    return descriptions;
}

}  // namespace

const RegisteredName* Registry::Find(const std::string& name) const {
    for (const RegisteredName& entry : names) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

std::vector<std::string> Registry::Names() const {
    std::vector<std::string> all;
    for (const RegisteredName& entry : names) {
        all.push_back(entry.name);
    }
    return all;
}

Registry ObserveRegistry(const FactoryLibrary& library) {
    Registry registry;
    registry.folder = library.Folder() + kPlugInFolder;
    for (const std::string& file : PlugInFiles(registry.folder)) {
        PlugInState state;
        state.file = file;
        const std::string path = registry.folder + file;
        state.loaded = LoadedInProcess(path);
        std::vector<procref::RegisteredProcedure> rows;
        if (!state.loaded) {
            state.problem = "not loaded by oxrmsg.dll (KvtDll.log says why)";
        } else if (!procref::CollectRegistrations(path, rows, state.problem)) {
            rows.clear();
        }
        for (const procref::RegisteredProcedure& row : rows) {
            // A later registration of the name hides the earlier one.
            for (auto it = registry.names.begin(); it != registry.names.end(); ++it) {
                if (it->name == row.name) {
                    registry.names.erase(it);
                    break;
                }
            }
            registry.names.push_back(RegisteredName{row.name, row.size, row.direction, file});
        }
        state.registered = rows.size();
        registry.plugIns.push_back(state);
    }
    return registry;
}

std::string DirectionName(unsigned long direction) {
    switch (direction) {
        case procref::kDirectionIn: return "in";
        case procref::kDirectionOut: return "out";
        case procref::kDirectionNone: return "none";
        default: return std::to_string(direction);
    }
}

const procref::Description* DocumentedProcedure(const std::string& name) {
    for (const procref::Description& description : Descriptions()) {
        if (description.name == name) {
            return &description;
        }
    }
    return nullptr;
}

}  // namespace kvtcli
