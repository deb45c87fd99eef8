#include "factory_api/ConcurrentConnection.h"

#include <cstdint>
#include <cstdio>
#include <iomanip>

#include "common/Exception.h"
#include "common/LogFile.h"
#include "common/LogFrame.h"
#include "core/camera/Property.h"
#include "core/transport/APIManager.h"
#include "factory_api/ModuleState.h"

namespace kvtq517 {
namespace {

constexpr unsigned kPropToolMode = 0x0100000A;
constexpr std::uint32_t kNoToolMode = 0xFFFFFFFFu;

struct CameraSlot {
    unsigned handle = 0;
    std::uint32_t toolMode = kNoToolMode;
};

// Selects `slot`, reads its handle and its tool mode, and logs the tool mode.
CameraSlot ReadSlot(CAPIManager& manager, CPublicProperty& property, unsigned slot) {
    kvtlog::LogStream& log = ApiLog();
    manager.SelectCamera(slot);
    CameraSlot camera;
    camera.handle = manager.GetCameraHandle();
    // The buffer is the capacity: a camera that returns more is refused, never overruns.
    property.Get(kPropToolMode, 4u, &camera.toolMode);
    kvtlog::Stamp(log) << "[VALU] ToolMode[ " << std::dec << std::setw(2) << std::setfill('0')
                       << slot << " ] - 0x" << std::hex << std::setw(8) << camera.toolMode
                       << std::dec << std::setfill(' ') << '\n';
    kvtlog::CommitLog(log);
    std::printf("ToolMode[ %02u ] - 0x%08x\n", slot, static_cast<unsigned>(camera.toolMode));
    return camera;
}

}  // namespace

unsigned long ConfigureConcurrentConnection() {
    kvtlog::FrameLines lines{"[FUNC] ConfigureConcurrentConnection"};
    lines.otherText = "[ERR!] UnExpected Excepttion";
    kvtlog::LogStream& log = ApiLog();
    return kvtlog::RunFrame(log, lines, [&] {
        CPublicProperty property;
        CAPIManager& manager = CAPIManager::GetInstance();
        const unsigned count = manager.GetCameraCount();
        kvtlog::Stamp(log) << "[VALU] Connected CameraCount - " << std::dec << count << '\n';
        // Committed before the camera is asked, so the lines keep their order in the file.
        kvtlog::CommitLog(log);
        if (count == 1) {
            kvt::Fail("[VALU] Need Not Configure", 0);
        }
        if (count == 0 || count > 2) {
            kvt::Fail("[VALU] CameraCount", 35);
        }
        const CameraSlot first = ReadSlot(manager, property, 0);
        const CameraSlot second = ReadSlot(manager, property, 1);
        const bool firstHasMode = first.toolMode != kNoToolMode;
        const bool secondHasMode = second.toolMode != kNoToolMode;
        if (firstHasMode == secondHasMode) {
            kvt::Fail("[VALU] ToolMode", 35);
        }
        if (!firstHasMode) {
            manager.SelectCamera(0);
            manager.SetCameraHandle(second.handle);
            manager.SelectCamera(1);
            manager.SetCameraHandle(first.handle);
        }
        manager.SelectCamera(0);
    });
}

}  // namespace kvtq517
