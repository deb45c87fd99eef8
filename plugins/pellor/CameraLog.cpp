// GetCameraLog: the camera's internal log, moved in one piece into the file "CameraLog"
// in the current directory: one buffer of the reported size, one fetch, one write.
#include <cstdint>
#include <limits>
#include <memory>
#include <new>
#include <string>

#include "common/Exception.h"
#include "common/LogFile.h"
#include "common/LogStream.h"
#include "core/camera/EventProcedure.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/DataProcedures.h"
#include "plugins/pellor/MemoryDump.h"
#include "plugins/pellor/ProcedureFrame.h"

namespace pellor {
namespace {

// The size travels as a signed 32-bit "lSize"; a larger report is taken as a size the
// process cannot hold, as is an allocation that fails.
constexpr unsigned kMaxCameraLogSize = static_cast<unsigned>(std::numeric_limits<std::int32_t>::max());

}  // namespace

unsigned long __cdecl GetCameraLog(void*) {
    return RunProcedure(PluginLog(), "GetCameraLog", [&] {
        kvtlog::LogStream& log = PluginLog();
        CEventProcedure procedure;
        unsigned size = 0;
        int result = 0;
        procedure.ClearParameters();
        procedure.ExecuteAndGetSize(std::string("FA_GetCameraLogStart"), &size, &result);
        kvtlog::Stamp(log) << "[EVNT] FA_GetCameraLogStart - " << std::dec << result << '\n';
        kvtlog::Stamp(log) << "[VALU] lSize                - " << std::dec << size << '\n';
        kvtlog::CommitLog(log);
        if (size == 0) {
            kvt::Fail("[VALU] Size", 35);
        }
        // Zeroed: a transport that copies less than it reported leaves zeros in the file.
        std::unique_ptr<unsigned char[]> data(
            size <= kMaxCameraLogSize ? new (std::nothrow) unsigned char[size]() : nullptr);
        if (!data) {
            kvt::Fail("[VALU] pbyData", 5);
        }
        procedure.ClearParameters();
        procedure.GetReturnData(data.get(), &size, &result);
        procedure.Execute(std::string("FA_GetCameraLogEnd"), 0, &result);
        RequireCameraSuccess(result, "FA_GetCameraLogEnd");
        const std::uint32_t fileSize = size;
        RequireRoutineSuccess(DebugWriteDumpMemory("CameraLog", data.get(), &fileSize),
                              "DebugWriteDumpMemory");
    });
}

}  // namespace pellor
