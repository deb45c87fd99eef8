// The camera-side procedures: one row per procedure name, with the handler that runs
// it. Handlers are grouped by family in the Proc*.cpp files.
#pragma once

#include <cstdint>
#include <string>

#include "simulator/camera/Bytes.h"
#include "simulator/camera/Camera.h"
#include "simulator/camera/ProcedureArgs.h"

namespace kvtsim {

// What a procedure gives back: its 32-bit result and, optionally, return data.
struct Outcome {
    std::uint32_t result = 0;
    SharedBytes data;
};

inline Outcome Result(std::uint32_t r) {
    Outcome o;
    o.result = r;
    return o;
}
inline Outcome Data(SharedBytes d, std::uint32_t r = 0) {
    Outcome o;
    o.result = r;
    o.data = std::move(d);
    return o;
}

// `tag` is the row's constant: a property space, a machine-cell field, ...
using Handler = Outcome (*)(Camera& camera, const Args& args, unsigned tag);

struct ProcedureRow {
    const char* name;
    Handler handler;
    unsigned tag;
};

// The row of a procedure name (exact, case-sensitive), or null.
const ProcedureRow* FindProcedure(const std::string& name);

// Handlers by family.
namespace monitor {
Outcome Open(Camera&, const Args&, unsigned);
Outcome Close(Camera&, const Args&, unsigned);
Outcome Read(Camera&, const Args&, unsigned);
Outcome Write(Camera&, const Args&, unsigned);
Outcome Call(Camera&, const Args&, unsigned);
}  // namespace monitor

namespace property {  // tag: the Space
Outcome Set(Camera&, const Args&, unsigned);
Outcome Get(Camera&, const Args&, unsigned);
Outcome Save(Camera&, const Args&, unsigned);
Outcome Load(Camera&, const Args&, unsigned);
Outcome SetupDigital(Camera&, const Args&, unsigned);
Outcome DataSize(Camera&, const Args&, unsigned);
Outcome DigitalOffset(Camera&, const Args&, unsigned);
Outcome SetSaveListNum(Camera&, const Args&, unsigned);
Outcome RegistSaveList(Camera&, const Args&, unsigned);
Outcome SaveList(Camera&, const Args&, unsigned);
}  // namespace property

namespace release {
Outcome Release(Camera&, const Args&, unsigned);
Outcome PlusImage(Camera&, const Args&, unsigned);
Outcome Finish(Camera&, const Args&, unsigned);
}  // namespace release

namespace service {
Outcome ReadEeprom(Camera&, const Args&, unsigned);
Outcome WriteEeprom(Camera&, const Args&, unsigned);
Outcome PowerSave(Camera&, const Args&, unsigned);  // tag: 1 = enable, 0 = disable
Outcome GetCalendar(Camera&, const Args&, unsigned);
Outcome SetCalendar(Camera&, const Args&, unsigned);
Outcome ResetCalendar(Camera&, const Args&, unsigned);
Outcome CameraLogStart(Camera&, const Args&, unsigned);
Outcome CameraLogEnd(Camera&, const Args&, unsigned);
Outcome CellValue(Camera&, const Args&, unsigned);  // tag: a CellField
Outcome OverwriteDispDial(Camera&, const Args&, unsigned);
Outcome Accept(Camera&, const Args&, unsigned);     // accepted, result 0
enum CellField : unsigned { kDispDial, kAccTest, kSDialTest, kIcuCheckSum };
}  // namespace service

namespace transmem {
Outcome Attach(Camera&, const Args&, unsigned);  // tag: 1 = add (no replacing)
Outcome Remove(Camera&, const Args&, unsigned);
Outcome Position(Camera&, const Args&, unsigned);
// The memory-data block of a registered name, read from the camera's memory now.
SharedBytes Snapshot(const Camera& camera, const std::string& name);
}  // namespace transmem

}  // namespace kvtsim
