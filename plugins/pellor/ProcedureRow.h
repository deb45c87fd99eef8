// One row of the plug-in's procedure table: a registered name, the parameter size and
// direction the host stores for it, and what the procedure does.
//
// Most procedures are one or two camera operations on one property or one camera-side
// procedure; their rows carry the whole behaviour (an Action and its operands), and a
// single runner executes them (TableProcedures.cpp). Procedures with steps of their own
// are functions, named in their row with Call(&Function). A second name for a
// procedure is SameAs("<first name>").
//
// Builders, as used in the table:
//   Write(id, size, value)            write the property = value (little-endian, size <= 4)
//   Write(id, Bytes{03, 03, 00})      write the property = those bytes
//   WriteFrom(id, size, "pCheck")     write the property from the caller's buffer
//   ReadInto(id, size, "pCheck")      read the property into the caller's buffer
//   ReadThenWrite(id, size, value)    read into a local first, then write the value
//   ReadThenWriteFrom(id, size, "p")  read into a local first, then write the caller's u32
//   WriteAndSave(id, size, value)     write the value, then save the property
//   Save(id)                          save the property
//   SaveList(kIds)                    save the listed properties as one list, in order
//   Run("proc", n)                    camera-side procedure with the integer n; the
//                                     camera's result is not tested
//   TestedRun("proc", n)              ... a result with bit 0 set fails with "[EVNT] proc"
//   RunWith("proc", "pCheck")         ... with the caller's u32 as the integer, not tested
//   TestedRunWith("proc", "pCheck")   ... tested as TestedRun
//   ResultOf("proc", n, "pCheck")     the camera's 32-bit result into the caller's u32
// Modifiers: .Logs(label, Shown::Number | Shown::Text) writes "<label><value>" (before a
// write from the caller, after a read into it); .FailsWith("[MSG] text") tests a run's
// result with that message; .LogName("_Name") when the log name differs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "factory_api/plugin/EventProcRecord.h"

namespace pellor {

enum class Action : std::uint8_t {
    Call,               // a function of its own
    SameAs,             // the procedure of another row
    Write,
    WriteFromParameter,
    ReadIntoParameter,
    ReadThenWrite,
    ReadThenWriteFromParameter,
    WriteAndSave,
    Save,
    SaveList,
    Run,
    RunWithParameter,
    RunForResult,
};

// How a run judges the camera's result.
enum class Judged : std::uint8_t {
    NotTested,
    CameraEvent,   // bit 0 set: "[EVNT] <camera procedure>", the result as code
    OwnMessage,    // bit 0 set: the row's message, the result as code
};

// How a logged value is shown.
enum class Shown : std::uint8_t { Nothing, Number, Text };

// Host-side direction of the parameter.
constexpr std::uint32_t kDirectionIn = 0;
constexpr std::uint32_t kDirectionOut = 1;
constexpr std::uint32_t kDirectionNone = 3;

// Constant values of a row are at most 4 bytes.
constexpr std::size_t kMaxConstantBytes = 4;

struct Bytes {
    std::uint8_t value[kMaxConstantBytes];
    std::uint32_t size;

    constexpr Bytes(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2)
        : value{b0, b1, b2, 0}, size(3) {}
    constexpr Bytes(std::uint32_t n, std::uint32_t bytes)
        : value{static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)},
          size(bytes) {}
    constexpr Bytes() : value{0, 0, 0, 0}, size(0) {}
};

struct Body {
    Action action = Action::Call;
    EventProc_t procedure = nullptr;    // Call
    const char* sameAs = nullptr;       // SameAs
    const char* logName = nullptr;      // when it differs from the registered name
    const char* check = nullptr;        // parameter check: null p fails "[VALU] <check>", 3
    std::uint32_t property = 0;
    std::uint32_t size = 0;             // property bytes
    Bytes constant = {};                // the value written
    const std::uint32_t* list = nullptr; // SaveList
    std::uint32_t listCount = 0;
    const char* camera = nullptr;       // camera-side procedure of a run
    std::int32_t argument = 0;          // its integer parameter
    Judged judged = Judged::NotTested;
    const char* failure = nullptr;      // Judged::OwnMessage
    Shown shown = Shown::Nothing;
    const char* label = nullptr;        // logged value: "<label><value>"

    constexpr Body Logs(const char* text, Shown how) const {
        Body b = *this;
        b.label = text;
        b.shown = how;
        return b;
    }
    constexpr Body FailsWith(const char* message) const {
        Body b = *this;
        b.judged = Judged::OwnMessage;
        b.failure = message;
        return b;
    }
    constexpr Body LogName(const char* name) const {
        Body b = *this;
        b.logName = name;
        return b;
    }
};

// Registration: parameter size and direction.
struct Parameter {
    std::uint32_t size;
    std::uint32_t direction;
};
constexpr Parameter None() { return {0, kDirectionNone}; }
constexpr Parameter In(std::uint32_t size) { return {size, kDirectionIn}; }
constexpr Parameter Out(std::uint32_t size) { return {size, kDirectionOut}; }

struct ProcedureRow {
    const char* name;
    Parameter parameter;
    Body body;
};

constexpr Body Call(EventProc_t procedure) {
    Body b;
    b.action = Action::Call;
    b.procedure = procedure;
    return b;
}
constexpr Body SameAs(const char* name) {
    Body b;
    b.action = Action::SameAs;
    b.sameAs = name;
    return b;
}

namespace detail {
constexpr Body PropertyBody(Action action, std::uint32_t id, std::uint32_t size,
                            Bytes constant, const char* check) {
    Body b;
    b.action = action;
    b.property = id;
    b.size = size;
    b.constant = constant;
    b.check = check;
    return b;
}
constexpr Body RunBody(Action action, const char* camera, std::int32_t argument,
                       Judged judged, const char* check) {
    Body b;
    b.action = action;
    b.camera = camera;
    b.argument = argument;
    b.judged = judged;
    b.check = check;
    return b;
}
}  // namespace detail

constexpr Body Write(std::uint32_t id, std::uint32_t size, std::uint32_t value) {
    return detail::PropertyBody(Action::Write, id, size, Bytes(value, size), nullptr);
}
constexpr Body Write(std::uint32_t id, Bytes bytes) {
    return detail::PropertyBody(Action::Write, id, bytes.size, bytes, nullptr);
}
constexpr Body WriteFrom(std::uint32_t id, std::uint32_t size, const char* check) {
    return detail::PropertyBody(Action::WriteFromParameter, id, size, {}, check);
}
constexpr Body ReadInto(std::uint32_t id, std::uint32_t size, const char* check) {
    return detail::PropertyBody(Action::ReadIntoParameter, id, size, {}, check);
}
constexpr Body ReadThenWrite(std::uint32_t id, std::uint32_t size, std::uint32_t value) {
    return detail::PropertyBody(Action::ReadThenWrite, id, size, Bytes(value, size), nullptr);
}
constexpr Body ReadThenWriteFrom(std::uint32_t id, std::uint32_t size, const char* check) {
    return detail::PropertyBody(Action::ReadThenWriteFromParameter, id, size, {}, check);
}
constexpr Body WriteAndSave(std::uint32_t id, std::uint32_t size, std::uint32_t value) {
    return detail::PropertyBody(Action::WriteAndSave, id, size, Bytes(value, size), nullptr);
}
constexpr Body Save(std::uint32_t id) {
    return detail::PropertyBody(Action::Save, id, 0, {}, nullptr);
}
template <std::size_t N>
constexpr Body SaveList(const std::uint32_t (&ids)[N]) {
    Body b;
    b.action = Action::SaveList;
    b.list = ids;
    b.listCount = static_cast<std::uint32_t>(N);
    return b;
}
constexpr Body Run(const char* camera, std::int32_t argument) {
    return detail::RunBody(Action::Run, camera, argument, Judged::NotTested, nullptr);
}
constexpr Body TestedRun(const char* camera, std::int32_t argument) {
    return detail::RunBody(Action::Run, camera, argument, Judged::CameraEvent, nullptr);
}
constexpr Body RunWith(const char* camera, const char* check) {
    return detail::RunBody(Action::RunWithParameter, camera, 0, Judged::NotTested, check);
}
constexpr Body TestedRunWith(const char* camera, const char* check) {
    return detail::RunBody(Action::RunWithParameter, camera, 0, Judged::CameraEvent, check);
}
constexpr Body ResultOf(const char* camera, std::int32_t argument, const char* check) {
    return detail::RunBody(Action::RunForResult, camera, argument, Judged::NotTested, check);
}

// Runs the row's procedure: the frame under its log name, then its action.
unsigned long RunRow(const ProcedureRow& row, void* p) noexcept;

}  // namespace pellor
