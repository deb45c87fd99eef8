#include "factory_api/plugin/PlugInManager.h"

#include <cstdio>
#include <utility>

#include "common/Exception.h"
#include "common/LogFile.h"
#include "factory_api/plugin/PlugInLog.h"
#include "factory_api/plugin/VersionResource.h"

struct CPlugInInstance::Record {
    std::string PlugInName;
    std::string FullPath;
    std::string InternalName;
    HMODULE Module = nullptr;
};

CPlugInInstance::CPlugInInstance(std::string plugInName, std::string fullPath,
                                 std::string internalName)
    : _pRecord(new Record{std::move(plugInName), std::move(fullPath), std::move(internalName)}) {}

CPlugInInstance::~CPlugInInstance() = default;

std::string CPlugInInstance::GetPlugInName() const { return _pRecord->PlugInName; }
std::string CPlugInInstance::GetPlugInPath() const { return _pRecord->FullPath; }
std::string CPlugInInstance::GetInternalName() const { return _pRecord->InternalName; }
HMODULE CPlugInInstance::GetModule() const noexcept { return _pRecord->Module; }
void CPlugInInstance::SetModule(HMODULE module) noexcept { _pRecord->Module = module; }

std::string FileNameOfPath(const std::string& fullPath) {
    const std::size_t slash = fullPath.find_last_of('\\');
    return slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
}

CPlugInManager& CPlugInManager::GetInstance() {
    static CPlugInManager instance;
    return instance;
}

CPlugInManager::CPlugInManager() = default;
CPlugInManager::~CPlugInManager() = default;

void CPlugInManager::AddPlugIn(const std::string& fullPath) {
    std::printf("FullPath = %s\n", fullPath.c_str());
    const std::string internalName = ReadInternalName(fullPath);
    if (_InternalNames.count(internalName) != 0) {
        std::printf("Founded\n");
        return;
    }
    const std::string fileName = FileNameOfPath(fullPath);
    std::printf("PlugInName = %s\n", fileName.c_str());
    _PlugInList.push_back(std::make_shared<CPlugInInstance>(fileName, fullPath, internalName));
    std::printf("PlugInList.size() = %u\n", static_cast<unsigned>(_PlugInList.size()));
    _InternalNames.insert(internalName);
}

void CPlugInManager::LoadPlugIns() {
    for (const auto& instance : _PlugInList) {
        std::printf("PlugInName = %s\n", instance->GetPlugInName().c_str());
        if (instance->GetModule() != nullptr) {
            continue;
        }
        HMODULE module = ::LoadLibraryA(instance->GetPlugInPath().c_str());
        const DWORD error = ::GetLastError();
        if (module == nullptr) {
            kvtlog::Stamp(PlugInLog()) << "[VALU] GetLastError - " << std::dec << error << '\n';
            kvtlog::CommitLog(PlugInLog());
            kvt::Fail("[WAPI] LoadLibrary", 1);
        }
        instance->SetModule(module);
    }
}

void CPlugInManager::FreePlugIns() noexcept {
    for (const auto& instance : _PlugInList) {
        if (instance->GetModule() != nullptr) {
            ::FreeLibrary(instance->GetModule());
            instance->SetModule(nullptr);
        }
    }
}

PlugInList CPlugInManager::GetPlugInList() const {
    return _PlugInList;
}
