#include "factory_api/MemoryDiagnostics.h"

#include "common/Handles.h"
#include "common/LogFile.h"
#include "common/Win32.h"

// After <windows.h>, which it needs.
#include <psapi.h>

namespace kvtq517 {
namespace {

void KiloBytesLine(kvtlog::LogStream& log, const char* label, std::uint64_t bytes) {
    kvtlog::Stamp(log) << label << std::dec << bytes / 1024 << "[KB]" << '\n';
}

void MegaBytesLine(kvtlog::LogStream& log, const char* label, std::uint64_t bytes) {
    kvtlog::Stamp(log) << label << std::dec << bytes / 1024000 << "[MB]" << '\n';
}

void ProcessMemoryInfo(kvtlog::LogStream& log) {
    const DWORD processID = ::GetCurrentProcessId();
    kvt::UniqueKernelHandle process(
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processID));
    if (!process) {
        kvtlog::Line(log, "[KVTI] OpenProcess Error.");
        kvtlog::CommitLog(log);
        return;
    }
    PROCESS_MEMORY_COUNTERS counters = {};
    if (!::GetProcessMemoryInfo(process.Get(), &counters, sizeof(counters))) {
        kvtlog::Line(log, "[KVTI] GetProcessMemoryInfo Error.");
        kvtlog::CommitLog(log);
        return;
    }
    kvtlog::Line(log, "[----]");
    kvtlog::Line(log, kProcessMemoryInfoHeading);
    kvtlog::Stamp(log) << "[KVTI]   ProcessID                  : " << std::dec << processID << '\n';
    kvtlog::Stamp(log) << "[KVTI]   hProcess                   : "
                       << static_cast<const void*>(process.Get()) << std::dec << '\n';
    kvtlog::Stamp(log) << "[KVTI]   PageFaultCount             : " << std::dec
                       << counters.PageFaultCount << '\n';
    KiloBytesLine(log, "[KVTI]   WorkingSetSize             : ", counters.WorkingSetSize);
    KiloBytesLine(log, "[KVTI]   PeakWorkingSetSize         : ", counters.PeakWorkingSetSize);
    KiloBytesLine(log, "[KVTI]   QuotaPeakPagedPoolUsage    : ", counters.QuotaPeakPagedPoolUsage);
    KiloBytesLine(log, "[KVTI]   QuotaPagedPoolUsage        : ", counters.QuotaPagedPoolUsage);
    KiloBytesLine(log, "[KVTI]   QuotaPeakNonPagedPoolUsage : ",
                  counters.QuotaPeakNonPagedPoolUsage);
    KiloBytesLine(log, "[KVTI]   QuotaNonPagedPoolUsage     : ", counters.QuotaNonPagedPoolUsage);
    KiloBytesLine(log, "[KVTI]   PeakPagefileUsage          : ", counters.PeakPagefileUsage);
    KiloBytesLine(log, "[KVTI]   PagefileUsage              : ", counters.PagefileUsage);
    kvtlog::CommitLog(log);
}

void GlobalMemoryStatusInfo(kvtlog::LogStream& log) {
    // The extended status: physical memory above 4 GB is counted in full.
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    if (!::GlobalMemoryStatusEx(&status)) {
        status.ullTotalPhys = 0;
        status.ullAvailPhys = 0;
    }
    WriteGlobalMemoryStatus(log, status.ullTotalPhys, status.ullAvailPhys);
}

}  // namespace

void WriteGlobalMemoryStatus(kvtlog::LogStream& log, std::uint64_t totalPhysical,
                             std::uint64_t availablePhysical) {
    kvtlog::Line(log, "[----]");
    kvtlog::Line(log, kGlobalMemoryStatusHeading);
    const std::uint64_t used =
        totalPhysical >= availablePhysical ? totalPhysical - availablePhysical : 0;
    MegaBytesLine(log, "[KVTI]   UsedMemory   : ", used);
    MegaBytesLine(log, "[KVTI]   FreeMemory   : ", availablePhysical);
    MegaBytesLine(log, "[KVTI]   MemorySize   : ", totalPhysical);
    kvtlog::CommitLog(log);
}

void WriteMemoryDiagnostics(kvtlog::LogStream& log) {
    ProcessMemoryInfo(log);
    GlobalMemoryStatusInfo(log);
}

}  // namespace kvtq517
