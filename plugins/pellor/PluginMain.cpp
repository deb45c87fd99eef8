// Load and unload of the plug-in: the log's staging buffer and the banners.
//
//     "[CMNT] *****...*****"             (79 asterisks)
//     "[CMNT]  Pellor.q517 Initialize"   (Terminate at unload)
//     "[CMNT] *****...*****"
//
// The plug-in does not restart the global timer: its stamps continue the host's clock.
#include "common/LogBanner.h"
#include "common/LogFile.h"
#include "common/Win32.h"
#include "plugins/pellor/PluginLog.h"

namespace {

void WriteLoadBanner() {
    kvtlog::LogStream& log = pellor::PluginLog();
    kvtlog::StartLogStaging();
    kvtlog::BannerRule(log);
    kvtlog::BannerTitle(log, pellor::kPluginFileName, "Initialize");
    kvtlog::CommitLog(log);
    kvtlog::BannerRule(log);
    kvtlog::CommitLog(log);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE /*module*/, DWORD reason, LPVOID /*reserved*/) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        WriteLoadBanner();
        break;
    case DLL_PROCESS_DETACH:
        kvtlog::StopLibraryLog(pellor::PluginLog(), pellor::kPluginFileName);
        break;
    default:
        break;
    }
    return TRUE;
}
