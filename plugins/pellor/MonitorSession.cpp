#include "plugins/pellor/MonitorSession.h"

#include "common/Exception.h"
#include "common/LogFile.h"
#include "plugins/pellor/PluginLog.h"

namespace pellor {

MonitorSession::MonitorSession(SLR_MONITOR::tagBANK_KIND_T bank) {
    _monitor.ChangeBank(bank);
    _monitor.OpenSession();
}

void MonitorSession::Close() {
    _closed = true;
    _monitor.CloseSession();
}

MonitorSession::~MonitorSession() {
    if (_closed) {
        return;
    }
    try {
        _monitor.CloseSession();
    } catch (CException* e) {
        kvtlog::Stamp(PluginLog()) << "[ERR!] - " << e->Message() << '\n';
        kvtlog::CommitLog(PluginLog());
        delete e;
    } catch (...) {
        kvtlog::Line(PluginLog(), "[ERR!] UnExpected Exception");
        kvtlog::CommitLog(PluginLog());
    }
}

}  // namespace pellor
