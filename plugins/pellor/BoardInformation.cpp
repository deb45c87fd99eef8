#include "plugins/pellor/BoardInformation.h"

#include <string>

#include "common/Exception.h"
#include "common/FilePath.h"
#include "common/LogStream.h"
#include "common/Win32.h"
#include "plugins/pellor/PluginLog.h"

namespace pellor {
namespace {

const char kBoardInfFile[] = "BoardInf.ini";
const char kSection[] = "DLResonantFrequency";

int ReadKey(const std::string& path, const char* key) {
    const int nDefault = -1;
    const int value = static_cast<int>(
        ::GetPrivateProfileIntA(kSection, key, nDefault, path.c_str()));
    if (value == -1) {
        kvtlog::LogStream& log = PluginLog();
        kvtlog::Stamp(log) << "[VALU] lpszFileName - " << path << '\n';
        kvtlog::Stamp(log) << "[VALU] lpAppName    - " << kSection << '\n';
        kvtlog::Stamp(log) << "[VALU] lpKeyName    - " << key << '\n';
        kvtlog::Stamp(log) << "[VALU] *pnReturn    - " << std::dec << value << '\n';
        kvtlog::Stamp(log) << "[VALU] nDefault     - " << std::dec << nDefault << '\n';
        kvt::Fail("[WAPI] GetPrivateProfileInt", 1);
    }
    return value;
}

}  // namespace

BoardInfRange ReadBoardInfRange() {
    CFilePath paths;
    const std::string path = paths.GetPropertyFullPath(kBoardInfFile);
    BoardInfRange range;
    range.Address = ReadKey(path, "Address");
    range.Size = ReadKey(path, "Size");
    return range;
}

}  // namespace pellor
