// CCameraSystem: a procedure client that turns the camera's power save off for the
// A-board EEPROM work and on again when it is destroyed, also after a failure.
// The power-save state is assumed on at creation.
#pragma once

#include "core/camera/EventProcedure.h"

namespace pellor {

class CCameraSystem : public CEventProcedure {
public:
    CCameraSystem();
    // Turns power save on again if this object turned it off. Never lets a failure out:
    // a failing "EnablePowerSave" run is logged and dropped.
    ~CCameraSystem() override;

    CCameraSystem(const CCameraSystem&) = delete;
    CCameraSystem& operator=(const CCameraSystem&) = delete;

    // "DisablePowerSave" (0) while power save is on; the camera's result is kept, not tested.
    void DisablePowerSave();
    // "EnablePowerSave" (0) while power save is off.
    void EnablePowerSave();

private:
    struct PowerSaveState {
        bool On;
        int LastResult;
    };
    PowerSaveState* _pState;
};

}  // namespace pellor
