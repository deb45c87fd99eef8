// ComLibClose, ComLibCloseAll and the console control handler.
#include "core/channel/ComLib.h"
#include "core/channel/ComLibOutput.h"
#include "core/channel/ComLibRecord.h"
#include "core/channel/ComLibTexts.h"
#include "core/channel/ComLibThreads.h"
#include "core/channel/InfoBlock.h"

int ComLibClose(HANDLE id, unsigned long clearOption) {
    using namespace comlib;
    ChannelRecord* record = FindOpen(id);
    if (record == nullptr) {
        ShowMessage(kNotCreatedText, nullptr);
        return 0;
    }
    if (!record->infoView) {
        return 0;
    }
    // The buffer threads take the channel mutex while they copy a block: they are
    // stopped before the mutex is taken, so no thread waits for it while this waits
    // for the thread.
    StopBufferThreads(*record);
    {
        kvt::MutexLock lock(record->mutex.Get());
        if (clearOption != 0) {
            ClearDataArea(*record);
        }
        record->readEvent.Reset();
        record->dataEvent.Reset();
    }
    record->mutex.Reset();
    record->smem_handle.Reset();
    record->state = kStateClosed;
    DecrementWordAboveZero(record->Info(), kOpenersWord);
    record->infoMapping.Reset();
    Progress("[ComLIB] >> CLOSED SMEMORY [NAME:%s]", record->mem_name);
    // The views stay mapped and the record keeps its name until it is reused; the named
    // objects live on only while another opener holds them.
    return 1;
}

void __cdecl ComLibCloseAll() {
    comlib::ChannelRecord* table = comlib::Table();
    for (std::size_t i = 0; i < comlib::kTableSize; ++i) {
        if (table[i].IsOpen()) {
            ComLibClose(table[i].Id(), 0);
        }
    }
}

BOOL WINAPI ComLibCtrlHandler(DWORD ctrlType) {
    switch (ctrlType) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        return TRUE;
    case CTRL_CLOSE_EVENT:
        ComLibCloseAll();
        ::ExitProcess(0);
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        ::ExitProcess(0);
    default:
        return FALSE;
    }
}
