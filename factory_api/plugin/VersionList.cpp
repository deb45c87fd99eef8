#include "factory_api/plugin/VersionList.h"

#include "common/Exception.h"
#include "factory_api/ModuleState.h"

std::string CVersionList::RelativePath() {
    return kvtq517::ModelFolderName(kvtq517::kModelID) + "/Property/verck";
}

CVersionList::CVersionList() {
    std::FILE* file = nullptr;
    if (fopen_s(&file, RelativePath().c_str(), "rb") != 0 || file == nullptr) {
        kvt::Fail("[SYSF] fopen_s", 1);
    }
    _file.reset(file);
}

bool CVersionList::ReadField(char (&field)[verck::kFieldSize]) {
    if (!_file) {
        return false;
    }
    return std::fread(field, 1, verck::kFieldSize, _file.get()) == verck::kFieldSize;
}
