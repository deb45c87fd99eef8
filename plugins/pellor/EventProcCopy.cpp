#include "plugins/pellor/EventProcCopy.h"

#include "common/LogFile.h"
#include "plugins/pellor/PluginLog.h"
#include "plugins/pellor/ProcedureFrame.h"

namespace pellor {

unsigned long CopyEventProcTable(const EventProcTable& from, EventProcTable& to) noexcept {
    return RunProcedure(PluginLog(), "GetHash", [&] {
        for (const EventProcRecord* head : from.Bucket) {
            for (const EventProcRecord* record = head; record != nullptr; record = record->Next) {
                kvtlog::Line(PluginLog(), record->Name);
                kvtlog::CommitLog(PluginLog());
                auto* copy = new EventProcRecord{record->Name,      record->Procedure,
                                                 record->ParameterSize, record->Direction,
                                                 record->Reserved,  nullptr};
                EventProcRecord*& bucket = to.Bucket[EventProcBucket(record->Name)];
                copy->Next = bucket;
                bucket = copy;
            }
        }
    });
}

}  // namespace pellor
