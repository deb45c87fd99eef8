// The test-control exports of SimControl.h. They are not journaled.
#include <cstring>

#include "simulator/camera/Scenario.h"
#include "simulator/camera/ScenarioSource.h"
#include "simulator/camera/SimControl.h"
#include "simulator/camera/TransportNames.h"
#include "simulator/camera/World.h"

using namespace kvtsim;

namespace {
template <class Body>
unsigned RunControl(Body body) noexcept {
    try {
        World& world = World::Instance();
        WorldLock lock(world);
        return body(world);
    } catch (...) {
        return kStatusInternal;
    }
}

Camera* CameraAt(World& w, unsigned camera) {
    return camera < w.cameras.size() ? w.cameras[camera].get() : nullptr;
}

unsigned LoadText(World& w, const ScenarioText& s) {
    std::string error = s.error;
    if (error.empty() && LoadScenario(w, s.text, s.baseDir, &error)) {
        w.scenarioOrigin = s.origin;
        w.startupFailed = false;
        return kOk;
    }
    w.scenarioError = s.origin + ": " + error;
    return kStatusBadScenario;
}

unsigned CopyText(const std::string& text, char* buffer, unsigned size, unsigned* needed) {
    if (needed != nullptr) {
        *needed = static_cast<unsigned>(text.size());
    }
    if (buffer == nullptr || size <= text.size()) {
        return kStatusSizeOutOfRange;
    }
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return kOk;
}

// The value of a named state, or false.
bool StateValue(World& w, unsigned camera, const std::string& name, unsigned* value) {
    if (name == "Initialized") { *value = w.initialized; return true; }
    if (name == "CameraCount") { *value = static_cast<unsigned>(w.cameras.size()); return true; }
    Camera* c = CameraAt(w, camera);
    if (c == nullptr) return false;
    if (name == "Connected") { *value = w.links[camera].connected; return true; }
    if (name == "MonitorSession") { *value = c->monitorOpen; return true; }
    if (name == "PowerSave") { *value = c->powerSaveOn; return true; }
    if (name == "DigitalSetup") { *value = c->digitalSetup; return true; }
    if (name == "ReleaseOpen") { *value = c->release.open; return true; }
    if (name == "ReleaseCount") { *value = c->release.shots; return true; }
    if (name == "ImagesDelivered") { *value = static_cast<unsigned>(c->release.delivered); return true; }
    if (name == "LogTransferOpen") { *value = c->logTransferOpen; return true; }
    if (name == "TransMemoryCount") { *value = static_cast<unsigned>(c->transMemory.size()); return true; }
    if (name == "ParameterCount") { *value = static_cast<unsigned>(w.links[camera].params.size()); return true; }
    if (name == "DispDialResult") { *value = c->dispDialResult; return true; }
    return false;
}
}  // namespace

extern "C" {

unsigned KVTSIM_CALL kvtsim_LoadScenarioText(const char* text) {
    return RunControl([&](World& w) -> unsigned {
        if (text == nullptr) return kStatusNullPointer;
        ScenarioText s;
        s.text = text;
        s.origin = "scenario text";
        return LoadText(w, s);
    });
}

unsigned KVTSIM_CALL kvtsim_LoadScenarioFile(const char* path) {
    return RunControl([&](World& w) -> unsigned {
        if (path == nullptr) return kStatusNullPointer;
        return LoadText(w, ReadScenarioFile(path));
    });
}

unsigned KVTSIM_CALL kvtsim_ApplyScenarioText(const char* text) {
    return RunControl([&](World& w) -> unsigned {
        if (text == nullptr) return kStatusNullPointer;
        std::string error;
        if (ApplyScenario(w, text, std::string(), &error)) {
            return kOk;
        }
        w.scenarioError = "scenario text: " + error;
        return kStatusBadScenario;
    });
}

unsigned KVTSIM_CALL kvtsim_Reset() {
    return RunControl([&](World& w) -> unsigned {
        w.LoadStartupScenario();
        w.journal.Clear();
        return w.startupFailed ? kStatusBadScenario : kOk;
    });
}

unsigned KVTSIM_CALL kvtsim_ScenarioError(char* buffer, unsigned size) {
    unsigned length = 0;
    RunControl([&](World& w) -> unsigned {
        length = static_cast<unsigned>(w.scenarioError.size());
        if (buffer != nullptr && size > 0) {
            std::size_t n = w.scenarioError.size() < size - 1 ? w.scenarioError.size() : size - 1;
            std::memcpy(buffer, w.scenarioError.data(), n);
            buffer[n] = '\0';
        }
        return kOk;
    });
    return length;
}

unsigned KVTSIM_CALL kvtsim_JournalText(char* buffer, unsigned size, unsigned* needed) {
    return RunControl([&](World& w) { return CopyText(w.journal.Text(), buffer, size, needed); });
}

unsigned KVTSIM_CALL kvtsim_ClearJournal() {
    return RunControl([&](World& w) -> unsigned {
        w.journal.Clear();
        return kOk;
    });
}

unsigned KVTSIM_CALL kvtsim_SetJournalFile(const char* path) {
    return RunControl([&](World& w) -> unsigned {
        return w.journal.SetFile(path ? path : "") ? kOk : kStatusBadArgument;
    });
}

unsigned KVTSIM_CALL kvtsim_SetFault(const char* function, unsigned nth, unsigned status) {
    return RunControl([&](World& w) -> unsigned {
        if (function == nullptr) return kStatusNullPointer;
        if (!IsTransportFunction(function)) return kStatusNotFound;
        if (status == 0) {
            w.faults.Remove(function, RuleKind::Status);
        } else {
            w.faults.Add(function, RuleKind::Status, nth, status);
        }
        return kOk;
    });
}

unsigned KVTSIM_CALL kvtsim_CallCount(unsigned camera, const char* name) {
    unsigned count = 0;
    RunControl([&](World& w) -> unsigned {
        if (name == nullptr) return kStatusNullPointer;
        if (IsTransportFunction(name)) {
            count = static_cast<unsigned>(w.faults.Calls(name));
        } else if (Camera* c = CameraAt(w, camera)) {
            count = static_cast<unsigned>(c->rules.Calls(name));
        }
        return kOk;
    });
    return count;
}

unsigned KVTSIM_CALL kvtsim_GetProperty(unsigned camera, unsigned space, unsigned stored,
                                        unsigned id, void* buffer, unsigned size,
                                        unsigned* actual) {
    return RunControl([&](World& w) -> unsigned {
        Camera* c = CameraAt(w, camera);
        if (c == nullptr || space >= kSpaceCount || stored > 1) return kStatusBadArgument;
        if (actual == nullptr || (buffer == nullptr && size > 0)) return kStatusNullPointer;
        const PropertyStore& store = c->spaces[space];
        SharedBytes value = stored ? store.Saved(id) : store.Current(id);
        if (!value) return kStatusNotFound;
        *actual = static_cast<unsigned>(value->size());
        std::size_t n = size < value->size() ? size : value->size();
        if (n > 0) std::memcpy(buffer, value->data(), n);
        return kOk;
    });
}

unsigned KVTSIM_CALL kvtsim_SetProperty(unsigned camera, unsigned space, unsigned stored,
                                        unsigned id, const void* data, unsigned size) {
    return RunControl([&](World& w) -> unsigned {
        Camera* c = CameraAt(w, camera);
        if (c == nullptr || space >= kSpaceCount || stored > 1) return kStatusBadArgument;
        if (data == nullptr && size > 0) return kStatusNullPointer;
        if (size > kMaxReadBytes) return kStatusSizeOutOfRange;
        const std::uint8_t* b = static_cast<const std::uint8_t*>(data);
        SharedBytes value = Share(Bytes(b, b + size));
        if (stored) {
            c->spaces[space].SetSaved(id, value);
        } else {
            c->spaces[space].SetCurrent(id, value);
        }
        return kOk;
    });
}

unsigned KVTSIM_CALL kvtsim_GetMemory(unsigned camera, unsigned cpuKind, unsigned address,
                                      void* buffer, unsigned size) {
    return RunControl([&](World& w) -> unsigned {
        Camera* c = CameraAt(w, camera);
        if (c == nullptr || cpuKind >= kCpuKinds) return kStatusBadArgument;
        if (buffer == nullptr && size > 0) return kStatusNullPointer;
        return c->memory[cpuKind].Read(address, static_cast<std::uint8_t*>(buffer), size)
                   ? kOk : kStatusSizeOutOfRange;
    });
}

unsigned KVTSIM_CALL kvtsim_SetMemory(unsigned camera, unsigned cpuKind, unsigned address,
                                      const void* data, unsigned size) {
    return RunControl([&](World& w) -> unsigned {
        Camera* c = CameraAt(w, camera);
        if (c == nullptr || cpuKind >= kCpuKinds) return kStatusBadArgument;
        if (data == nullptr && size > 0) return kStatusNullPointer;
        return c->memory[cpuKind].Write(address, static_cast<const std::uint8_t*>(data), size)
                   ? kOk : kStatusSizeOutOfRange;
    });
}

unsigned KVTSIM_CALL kvtsim_GetEeprom(unsigned camera, unsigned address, unsigned* word) {
    return RunControl([&](World& w) -> unsigned {
        Camera* c = CameraAt(w, camera);
        if (c == nullptr || address >= kEepromWords) return kStatusBadArgument;
        if (word == nullptr) return kStatusNullPointer;
        *word = c->eeprom[address];
        return kOk;
    });
}

unsigned KVTSIM_CALL kvtsim_SetEeprom(unsigned camera, unsigned address, unsigned word) {
    return RunControl([&](World& w) -> unsigned {
        Camera* c = CameraAt(w, camera);
        if (c == nullptr || address >= kEepromWords || word > 0xFFFF) return kStatusBadArgument;
        c->eeprom[address] = static_cast<std::uint16_t>(word);
        return kOk;
    });
}

unsigned KVTSIM_CALL kvtsim_GetState(unsigned camera, const char* name, unsigned* value) {
    return RunControl([&](World& w) -> unsigned {
        if (name == nullptr || value == nullptr) return kStatusNullPointer;
        return StateValue(w, camera, name, value) ? kOk : kStatusNotFound;
    });
}

unsigned KVTSIM_CALL kvtsim_GetReleaseImage(unsigned camera, unsigned index, void* buffer,
                                            unsigned size, unsigned* needed) {
    return RunControl([&](World& w) -> unsigned {
        Camera* c = CameraAt(w, camera);
        if (c == nullptr) return kStatusBadArgument;
        if (needed == nullptr || (buffer == nullptr && size > 0)) return kStatusNullPointer;
        if (index >= c->release.images.size()) return kStatusNotFound;
        const Bytes& image = *c->release.images[index];
        *needed = static_cast<unsigned>(image.size());
        std::size_t n = size < image.size() ? size : image.size();
        if (n > 0) std::memcpy(buffer, image.data(), n);
        return kOk;
    });
}

}  // extern "C"
