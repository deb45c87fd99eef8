#include "simulator/camera/World.h"

#include <cstdio>

#include "simulator/camera/DeviceRecord.h"
#include "simulator/camera/Scenario.h"
#include "simulator/camera/ScenarioSource.h"

namespace kvtsim {

World::World() {
    ::InitializeCriticalSection(&_cs);
}

World& World::Instance() {
    // Deliberately leaked: see the class comment. Construction runs once; a failure
    // to allocate throws to the export, which reports it and retries next call.
    static World* instance = [] {
        World* w = new World();
        w->LoadStartupScenario();
        std::string journalFile = EnvironmentValue("KVTSIM_JOURNAL");
        if (!journalFile.empty()) {
            w->journal.SetFile(journalFile);
        }
        return w;
    }();
    return *instance;
}

int World::CameraOfHandle(std::uint32_t handle) const {
    if (!initialized) {
        return -1;
    }
    for (std::size_t i = 0; i < cameras.size(); ++i) {
        if (cameras[i]->Handle() == handle && links[i].connected) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void World::Replace(CameraList newCameras, CallRules newFaults) {
    cameras = std::move(newCameras);
    faults = std::move(newFaults);
    for (unsigned i = 0; i < kMaxCameras; ++i) {
        bool connected = links[i].connected && i < cameras.size();
        links[i] = Link();
        links[i].connected = connected;
    }
    pending.reset();
    RefreshRecords();
}

void World::RefreshRecords() {
    for (std::size_t i = 0; i < cameras.size(); ++i) {
        FillDeviceRecord(*cameras[i], _records + i * kDeviceRecordBytes);
    }
}

void World::LoadStartupScenario() {
    ScenarioText source = FindStartupScenario();
    std::string error = source.error;
    if (error.empty() && LoadScenario(*this, source.text, source.baseDir, &error)) {
        scenarioOrigin = source.origin;
        startupFailed = false;
        return;
    }
    // The tool refuses to run on a broken scenario rather than guess: no camera, and
    // k2pInitialize fails with kStatusBadScenario.
    scenarioError = source.origin + ": " + error;
    startupFailed = true;
    Replace(CameraList(), CallRules());
    std::fprintf(stderr, "KVTItoPTP: %s\n", scenarioError.c_str());
    ::OutputDebugStringA(("KVTItoPTP: " + scenarioError + "\n").c_str());
}

}  // namespace kvtsim
