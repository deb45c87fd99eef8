// The per-body debug folders. Not built yet: both members fail with code 35 until the
// camera property classes they read the body number with are available.
#include "common/FilePath.h"

#include "common/FilePathImpl.h"

CException* CFilePath::_CreateIndividualDirectory(const std::string& DirectoryNameMain,
                                                  const std::string& DirectoryNameSub,
                                                  std::string& out) noexcept {
    out.clear();
    return kvt::ReportFailure([&] {
        kvt::Fail("[VALU] CFilePath::CreateIndividualDirectory (not available yet)", 35);
    });
}

std::string CFilePath::_GetBodyID() {
    kvt::Fail("[VALU] CFilePath::_GetBodyID (not available yet)", 35);
}
