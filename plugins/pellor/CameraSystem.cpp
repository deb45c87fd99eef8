#include "plugins/pellor/CameraSystem.h"

#include <string>

#include "common/Exception.h"
#include "common/LogFile.h"
#include "common/LogStream.h"
#include "plugins/pellor/PluginLog.h"

namespace pellor {

CCameraSystem::CCameraSystem() : _pState(new PowerSaveState{true, 0}) {}

CCameraSystem::~CCameraSystem() {
    try {
        EnablePowerSave();
    } catch (CException* e) {
        kvtlog::Stamp(PluginLog()) << "[ERR!] - " << e->Message() << '\n';
        delete e;
        kvtlog::CommitLog(PluginLog());
    } catch (...) {
        kvtlog::Line(PluginLog(), "[ERR!] UnExpected Exception");
        kvtlog::CommitLog(PluginLog());
    }
    delete _pState;
}

void CCameraSystem::DisablePowerSave() {
    if (_pState->On) {
        Execute(std::string("DisablePowerSave"), 0, &_pState->LastResult);
        _pState->On = false;
    }
}

void CCameraSystem::EnablePowerSave() {
    if (!_pState->On) {
        Execute(std::string("EnablePowerSave"), 0, &_pState->LastResult);
        _pState->On = true;
    }
}

}  // namespace pellor
