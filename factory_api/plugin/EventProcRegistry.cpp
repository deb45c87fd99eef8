#include "factory_api/plugin/EventProcRegistry.h"

#include <cstring>

#include "common/Exception.h"
#include "common/LogFile.h"
#include "common/LogFrame.h"
#include "factory_api/plugin/PlugInManager.h"

namespace {

kvtlog::LogStream s_log;
EventProcTable g_EventProcTable = {};

unsigned long ValueOrZero(const unsigned long* value) {
    return value != nullptr ? *value : 0;
}

}  // namespace

EventProcRecord* __cdecl RegisterEventProc(const char* name, EventProc_t procedure,
                                           const unsigned long* parameterSize,
                                           const unsigned long* direction,
                                           const unsigned long* reserved) noexcept {
    kvtlog::FrameLines lines{"[FUNC] RegisterEventProc"};
    lines.header = false;
    lines.exitLine = false;
    lines.commitFailureLine = true;
    EventProcRecord* previous = nullptr;
    kvtlog::RunFrame(s_log, lines, [&] {
        if (name == nullptr) {
            kvt::Fail("[VALU] name", 3);
        }
        if (procedure == nullptr) {
            kvt::Fail(std::string("[VALU] procedure : ") + name, 3);
        }
        auto* record = new EventProcRecord{name,
                                           procedure,
                                           ValueOrZero(parameterSize),
                                           ValueOrZero(direction),
                                           ValueOrZero(reserved),
                                           nullptr};
        EventProcRecord*& head = g_EventProcTable.Bucket[EventProcBucket(name)];
        previous = head;
        record->Next = head;
        head = record;
    });
    return previous;
}

EventProcRecord* FindEventProc(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    for (EventProcRecord* r = g_EventProcTable.Bucket[EventProcBucket(name)]; r != nullptr;
         r = r->Next) {
        if (std::strcmp(r->Name, name) == 0) {
            return r;
        }
    }
    kvtlog::Stamp(s_log) << "[CMNT] Not Found - " << name << '\n';
    kvtlog::CommitLog(s_log);
    return nullptr;
}

const EventProcRecord* EventProcBucketHead(unsigned bucket) noexcept {
    return bucket < kEventProcBucketCount ? g_EventProcTable.Bucket[bucket] : nullptr;
}

unsigned long RegisterEventProcList() {
    return kvtlog::RunFrame(s_log, {"[FUNC] RegisterEventProcList"}, [] {
        const PlugInList plugIns = CPlugInManager::GetInstance().GetPlugInList();
        if (plugIns.empty()) {
            kvt::Fail("[VALU] PlugInList.size()", 35);
        }
        for (const auto& plugIn : plugIns) {
            auto registerList =
                plugIn->FindExport<RegisterEventProcList_t>(kRegisterEventProcListExport);
            if (registerList == nullptr) {
                kvt::Fail("[WAPI] GetProcAddress : RegisterEventProcList", 1);
            }
            registerList(&RegisterEventProc);
        }
    });
}

unsigned long DeregisterEventProcList() {
    return kvtlog::RunFrame(s_log, {"[FUNC] DeregisterEventProcList"}, [] {
        for (EventProcRecord*& head : g_EventProcTable.Bucket) {
            while (head != nullptr) {
                EventProcRecord* next = head->Next;
                delete head;
                head = next;
            }
        }
    });
}
