// The state of one simulated camera: what a scenario sets up and the camera-side
// procedures read and change.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "simulator/camera/Bytes.h"
#include "simulator/camera/CallRules.h"
#include "simulator/camera/CameraCalendar.h"
#include "simulator/camera/Images.h"
#include "simulator/camera/PropertyStore.h"
#include "simulator/camera/SparseMemory.h"

namespace kvtsim {

constexpr std::uint32_t kPropToolMode = 0x0100000A;
constexpr std::uint32_t kPropBodyId = 0x01000006;
constexpr std::uint32_t kPropPackedWord = 0x8000002F;  // byte 2: image quality code
constexpr std::uint32_t kToolModeNone = 0xFFFFFFFFu;
constexpr unsigned kCpuKinds = 3;
constexpr unsigned kEepromWords = 128;
constexpr std::size_t kSaveListBatch = 9;  // identifiers per FA_RegistSavePropertyList

struct ReleaseState {
    bool open = false;
    std::vector<SharedBytes> images;  // in delivery order
    std::size_t delivered = 0;        // images handed out as return data so far
    std::uint32_t shots = 0;          // releases since the scenario was loaded
};

struct TransBlock {
    std::uint32_t address = 0;  // in the memory of processor kind 0; also its position
    std::uint32_t size = 0;
};

struct SaveListState {
    bool announced = false;
    std::uint32_t count = 0;
    std::vector<std::uint32_t> ids;
};

struct Camera {
    explicit Camera(unsigned i);

    unsigned index;
    std::string name = "Tavol OXR camera";
    bool strictProperties = false;        // unknown properties are refused, not zeros
    bool eepromNeedsPowerSaveOff = false; // EEPROM refused while power save is on
    PropertyStore spaces[kSpaceCount];
    SparseMemory memory[kCpuKinds];
    std::uint16_t eeprom[kEepromWords];
    bool powerSaveOn = true;
    bool monitorOpen = false;
    bool digitalSetup = false;
    std::map<std::pair<std::uint32_t, std::string>, std::uint32_t> digitalOffsets;
    SaveListState saveList;
    CameraCalendar calendar;
    SharedBytes cameraLog;
    bool logTransferOpen = false;
    ImageSource jpeg, raw;
    ReleaseState release;
    std::map<std::string, SharedBytes> memoryData;  // named blocks from the scenario
    std::map<std::string, TransBlock> transMemory;  // registered transparent memory
    std::uint32_t dispDialResult = 0, accTestResult = 0, sdialTestResult = 0;
    std::uint32_t icuCheckSum = 0;
    CallRules rules;                      // forced outcomes per procedure
    std::set<std::string> extraProcedures;  // procedures known only from the scenario

    PropertyStore& Props(Space s) { return spaces[static_cast<unsigned>(s)]; }
    const PropertyStore& Props(Space s) const { return spaces[static_cast<unsigned>(s)]; }
    // Sets a public property in both the current values and the store.
    void SetPublic(std::uint32_t id, Bytes value);
    std::uint32_t handle = 0;             // from the scenario; 0: HandleOf(index)
    std::uint32_t Handle() const { return handle != 0 ? handle : HandleOf(index); }
    static std::uint32_t HandleOf(unsigned index) { return 0x00010517u + 0x00010000u * index; }
};

}  // namespace kvtsim
