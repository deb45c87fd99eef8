#include "factory_api/ReleaseFixedFlag.h"

#include <iomanip>

#include "common/Exception.h"
#include "common/LogFrame.h"
#include "core/camera/Property.h"
#include "factory_api/ModuleState.h"

namespace kvtq517 {
namespace {

constexpr unsigned kFixedFlagProperty = 0x00000000;

void RequireFlagPointer(const std::uint32_t* pFixedFlag) {
    if (pFixedFlag == nullptr) {
        kvt::Fail("[VALU] pFixedFlag", 3);
    }
}

void FlagLine(std::uint32_t value) {
    kvtlog::Stamp(ApiLog()) << "[VALU] FixedFlag - 0x" << std::hex << std::setw(8)
                            << std::setfill('0') << value << std::dec << std::setfill(' ')
                            << '\n';
}

}  // namespace

unsigned long _GetFixedFlag(std::uint32_t* pFixedFlag) noexcept {
    kvtlog::FrameLines lines{"[FUNC] _GetFixedFlag"};
    lines.exit = "[FUNC] _GetFixFlag";   // the exit line's historical spelling
    return kvtlog::RunFrame(ApiLog(), lines, [&] {
        RequireFlagPointer(pFixedFlag);
        CPublicProperty property;
        std::uint32_t value = 0;
        property.Get(kFixedFlagProperty, 4u, &value);
        *pFixedFlag = value;
        FlagLine(value);
    });
}

unsigned long _SetFixedFlag(std::uint32_t* pFixedFlag) noexcept {
    return kvtlog::RunFrame(ApiLog(), {"[FUNC] _SetFixedFlag"}, [&] {
        RequireFlagPointer(pFixedFlag);
        const std::uint32_t value = *pFixedFlag;
        FlagLine(value);
        kvtlog::CommitLog(ApiLog());   // the value is in the file before it is written
        CPublicProperty property;
        property.Set(kFixedFlagProperty, 4u, static_cast<unsigned>(value));
    });
}

}  // namespace kvtq517
