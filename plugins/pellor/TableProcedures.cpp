// The runner of the procedure table's rows: the procedure frame under the row's log
// name, the parameter check, then the row's action on a fresh CPublicProperty or
// CEventProcedure. A failing step ends the call; earlier steps stay done.
#include <cstdint>
#include <cstring>
#include <ios>
#include <string>

#include "common/Exception.h"
#include "core/camera/EventProcedure.h"
#include "core/camera/Property.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/ProcedureFrame.h"
#include "plugins/pellor/ProcedureRow.h"

namespace pellor {
namespace {

std::uint32_t WordOf(const void* parameter) {
    std::uint32_t value = 0;
    std::memcpy(&value, parameter, sizeof(value));
    return value;
}

// "<label><value>": a 32-bit number in decimal, or a text of at most `size` bytes
// (the caller's buffer need not hold a terminating zero).
void LogValue(const Body& body, const void* parameter) {
    switch (body.shown) {
    case Shown::Nothing:
        return;
    case Shown::Number:
        kvtlog::Stamp(PluginLog()) << body.label << std::dec << WordOf(parameter) << '\n';
        return;
    case Shown::Text: {
        const char* text = static_cast<const char*>(parameter);
        kvtlog::Stamp(PluginLog()) << body.label << std::string(text, ::strnlen(text, body.size))
                                   << '\n';
        return;
    }
    }
}

void Judge(const Body& body, int result) {
    switch (body.judged) {
    case Judged::NotTested:
        return;
    case Judged::CameraEvent:
        RequireCameraSuccess(result, body.camera);
        return;
    case Judged::OwnMessage:
        if ((static_cast<std::uint32_t>(result) & 1u) != 0) {
            kvt::Fail(body.failure, static_cast<unsigned long>(static_cast<std::uint32_t>(result)));
        }
        return;
    }
}

void RunPropertyAction(const Body& body, void* parameter) {
    CPublicProperty property;
    Bytes constant = body.constant;
    std::uint8_t local[kMaxConstantBytes] = {};
    switch (body.action) {
    case Action::Write:
        property.Set(body.property, body.size, constant.value);
        return;
    case Action::WriteFromParameter:
        LogValue(body, parameter);
        property.Set(body.property, body.size, parameter);
        return;
    case Action::ReadIntoParameter:
        property.Get(body.property, body.size, parameter);
        LogValue(body, parameter);
        return;
    case Action::ReadThenWrite:
        property.Get(body.property, body.size, local);
        property.Set(body.property, body.size, constant.value);
        return;
    case Action::ReadThenWriteFromParameter:
        property.Get(body.property, body.size, local);
        std::memcpy(local, parameter, body.size);
        property.Set(body.property, body.size, local);
        return;
    case Action::WriteAndSave:
        property.Set(body.property, body.size, constant.value);
        CProperty::Save(body.property);
        return;
    case Action::Save:
        CProperty::Save(body.property);
        return;
    case Action::SaveList:
        property.InitializeList(body.listCount);
        for (std::uint32_t i = 0; i < body.listCount; ++i) {
            property.PushList(body.list[i]);
        }
        property.SaveList();
        return;
    default:
        kvt::Fail("[VALU] Action", 35);
    }
}

void RunCameraAction(const Body& body, void* parameter) {
    CEventProcedure procedure;
    int result = 0;
    switch (body.action) {
    case Action::Run:
        procedure.Execute(body.camera, body.argument, &result);
        Judge(body, result);
        return;
    case Action::RunWithParameter:
        procedure.Execute(body.camera, static_cast<int>(WordOf(parameter)), &result);
        Judge(body, result);
        return;
    case Action::RunForResult: {
        procedure.Execute(body.camera, body.argument, &result);
        const std::uint32_t word = static_cast<std::uint32_t>(result);
        std::memcpy(parameter, &word, sizeof(word));
        return;
    }
    default:
        kvt::Fail("[VALU] Action", 35);
    }
}

}  // namespace

unsigned long RunRow(const ProcedureRow& row, void* p) noexcept {
    const Body& body = row.body;
    const char* logName = body.logName != nullptr ? body.logName : row.name;
    return RunProcedure(PluginLog(), logName, [&] {
        void* parameter = body.check != nullptr ? RequireParameter<void>(p, body.check) : p;
        switch (body.action) {
        case Action::Run:
        case Action::RunWithParameter:
        case Action::RunForResult:
            RunCameraAction(body, parameter);
            return;
        case Action::Call:
        case Action::SameAs:
            // Resolved to their functions when the table is built; never run here.
            kvt::Fail("[VALU] Action", 35);
        default:
            RunPropertyAction(body, parameter);
            return;
        }
    });
}

}  // namespace pellor
