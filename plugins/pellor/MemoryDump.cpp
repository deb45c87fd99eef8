#include "plugins/pellor/MemoryDump.h"

#include <fstream>
#include <iomanip>
#include <string>

#include "common/Exception.h"
#include "common/LogFile.h"
#include "common/LogStream.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/ProcedureFrame.h"

namespace pellor {
namespace {

void RequireNotNull(const void* p, const char* name) {
    if (p == nullptr) {
        kvt::Fail(std::string("[VALU] ") + name, 3);
    }
}

}  // namespace

unsigned long DebugWriteDumpMemory(const char* name, const void* data, const std::uint32_t* size) {
    return RunProcedure(PluginLog(), "DebugWriteDumpMemory", [&] {
        RequireNotNull(data, "pData");
        RequireNotNull(name, "pszFileName");
        RequireNotNull(size, "pSize");
        const std::uint32_t n = *size;
        std::ofstream file(name, std::ios::out | std::ios::trunc | std::ios::binary);
        if (!file.good()) {
            kvt::Fail("[STDF] File Stream Open Error", 1);
        }
        file.write(static_cast<const char*>(data), static_cast<std::streamsize>(n));
        file.close();
        if (file.fail()) {
            kvt::Fail("[STDF] File Stream Write Error", 1);
        }
    });
}

void DebugPrintDumpMemory(const void* data, const std::int32_t* size) {
    RunProcedure(PluginLog(), "DebugPrintDumpMemory", [&] {
        kvtlog::LogStream& log = PluginLog();
        const std::int32_t n = size != nullptr ? *size : 0;
        kvtlog::Stamp(log) << "[VALU]  DataSize = " << std::dec << n << '\n';
        kvtlog::CommitLog(log);
        const auto* bytes = static_cast<const unsigned char*>(data);
        const std::int32_t count = bytes != nullptr ? n : 0;
        log << std::hex << std::nouppercase << std::setfill('0');
        for (std::int32_t i = 0; i < count; ++i) {
            if (i % 16 == 0) {
                if (i > 0) {
                    log << '\n';
                }
                kvtlog::Stamp(log) << "[VALU] Data[ " << std::hex << std::setw(8)
                                   << std::setfill('0') << i << " ] - ";
            }
            if (i % 8 == 0) {
                log << ' ';
            }
            log << std::hex << std::setw(2) << std::setfill('0')
                << static_cast<unsigned>(bytes[i]) << ' ';
            kvtlog::CommitLog(log);
        }
        log << std::dec << std::setfill(' ') << '\n';
    });
}

}  // namespace pellor
