// Service procedures: A-board EEPROM and power save, calendar, camera log and the
// machine-cell values. Procedures without a modelled effect are accepted with 0.
#include "simulator/camera/Procedures.h"

#include "simulator/camera/Status.h"

namespace kvtsim {
namespace service {
namespace {
bool EepromBlocked(const Camera& camera) {
    return camera.eepromNeedsPowerSaveOff && camera.powerSaveOn;
}
}  // namespace

// address -> the word as the result; 0xFFFFFFFF for a refused read.
Outcome ReadEeprom(Camera& camera, const Args& args, unsigned) {
    std::uint32_t address;
    if (!args.Int(0, &address) || address >= kEepromWords || EepromBlocked(camera)) {
        return Result(kResultNone);
    }
    return Result(camera.eeprom[address]);
}

// address, word (the low 16 bits are stored).
Outcome WriteEeprom(Camera& camera, const Args& args, unsigned) {
    std::uint32_t address, word;
    if (!args.Int(0, &address) || !args.Int(1, &word) || address >= kEepromWords ||
        EepromBlocked(camera)) {
        return Result(kResultRefused);
    }
    camera.eeprom[address] = static_cast<std::uint16_t>(word);
    return Result(kResultOk);
}

Outcome PowerSave(Camera& camera, const Args&, unsigned enable) {
    camera.powerSaveOn = enable != 0;
    return Result(kResultOk);
}

Outcome GetCalendar(Camera& camera, const Args&, unsigned) {
    return Data(Share(camera.calendar.Record()));
}

// the 36-byte calendar record; only its first six fields are taken.
Outcome SetCalendar(Camera& camera, const Args& args, unsigned) {
    const Bytes* block = args.Block(0);
    DateTime t;
    if (block == nullptr || block->size() != CameraCalendar::kRecordBytes ||
        !CameraCalendar::FromRecord(*block, &t)) {
        return Result(kResultRefused);
    }
    camera.calendar.Set(t);
    return Result(kResultOk);
}

Outcome ResetCalendar(Camera& camera, const Args&, unsigned) {
    camera.calendar.Reset();
    return Result(kResultOk);
}

Outcome CameraLogStart(Camera& camera, const Args&, unsigned) {
    camera.logTransferOpen = true;
    return Data(camera.cameraLog ? camera.cameraLog : Share(Bytes()));
}

Outcome CameraLogEnd(Camera& camera, const Args&, unsigned) {
    camera.logTransferOpen = false;
    return Result(kResultOk);
}

Outcome CellValue(Camera& camera, const Args&, unsigned field) {
    switch (field) {
        case kDispDial: return Result(camera.dispDialResult);
        case kAccTest: return Result(camera.accTestResult);
        case kSDialTest: return Result(camera.sdialTestResult);
        default: return Result(camera.icuCheckSum);
    }
}

Outcome OverwriteDispDial(Camera& camera, const Args& args, unsigned) {
    std::uint32_t value;
    if (!args.Int(0, &value)) {
        return Result(kResultRefused);
    }
    camera.dispDialResult = value;
    return Result(kResultOk);
}

Outcome Accept(Camera&, const Args&, unsigned) {
    return Result(kResultOk);
}

}  // namespace service
}  // namespace kvtsim
