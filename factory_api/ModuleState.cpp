#include "factory_api/ModuleState.h"

#include <cstdio>

#include "common/Exception.h"

namespace kvtq517 {

CParserHandleSharedMemory* m_pParserHandleSharedMemory = nullptr;
CModelIDSharedMemory* m_pModelIDSharedMemory = nullptr;
CConfigurationSharedMemory* m_pConfigurationSharedMemory = nullptr;
CBodyIDSharedMemory* m_pBodyIDSharedMemory = nullptr;
CFileSharedMemory* m_pFileSharedMemory = nullptr;
CFolderSharedMemory* m_pFolderSharedMemory = nullptr;
CSLRMonitor* m_pSLRMonitor = nullptr;
unsigned long m_InitializingResult = 0;
unsigned long m_DeviceOpened = 0;

kvtlog::LogStream& ApiLog() {
    static kvtlog::LogStream log;
    return log;
}

void RequireDeviceOpened() {
    if (m_DeviceOpened == 0) {
        kvt::Fail("[ERR!] OpenDevice Error.", 29);
    }
}

void FailIfOdd(unsigned long result, const char* message) {
    if ((result & 1) != 0) {
        kvt::Fail(message, result);
    }
}

std::string ModelDigits(std::uint32_t modelID) {
    char digits[8];
    std::snprintf(digits, sizeof(digits), "%x", static_cast<unsigned>(modelID & 0xFFFFu));
    return digits;
}

std::string ModelFolderName(std::uint32_t modelID) {
    return "_Q" + ModelDigits(modelID) + "_";
}

}  // namespace kvtq517
