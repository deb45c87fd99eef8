// ComLibOpen: find or fill a record, create or open the channel's named objects.
//
// A failed open leaves nothing behind: the record is released and free again, the
// mutex is not held, and an opener it had counted is uncounted.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/channel/ComLib.h"
#include "core/channel/ComLibOutput.h"
#include "core/channel/ComLibRecord.h"
#include "core/channel/ComLibTexts.h"
#include "core/channel/ComLibThreads.h"
#include "core/channel/InfoBlock.h"

namespace comlib {
namespace {

// Releases the record and uncounts its opener unless the open went through.
class OpenRollback {
public:
    explicit OpenRollback(ChannelRecord& record) noexcept : _record(record) {}
    ~OpenRollback() {
        if (_kept) {
            return;
        }
        if (_counted && _record.Info() != nullptr) {
            DecrementWordAboveZero(_record.Info(), kOpenersWord);
        }
        ReleaseRecord(_record);
    }
    OpenRollback(const OpenRollback&) = delete;
    OpenRollback& operator=(const OpenRollback&) = delete;

    void Counted() noexcept { _counted = true; }
    void Keep() noexcept { _kept = true; }

private:
    ChannelRecord& _record;
    bool _counted = false;
    bool _kept = false;
};

std::string ObjectName(const char* name, const char* suffix) {
    return std::string(name) + suffix;
}

// The view's real size: opening an existing mapping with a larger size than its
// creator's succeeds but maps only the creator's size (rounded up to pages).
std::size_t ViewSize(const void* view) {
    MEMORY_BASIC_INFORMATION info{};
    if (::VirtualQuery(view, &info, sizeof(info)) == 0) {
        return 0;
    }
    return info.RegionSize;
}

// The used record with this name, else the first record not in use. With neither, a
// closed record is taken over (its name is no longer open anywhere in this process).
// The name is looked for in the whole table, not only up to the first free record: a
// failed reopen of a closed record frees it, and free records can then sit in front of
// open ones; stopping there would open a name a second time under another id.
ChannelRecord* SearchRecord(const char* name) {
    ChannelRecord* table = Table();
    ChannelRecord* found = nullptr;
    for (std::size_t i = 0; i < kTableSize && found == nullptr; ++i) {
        if (table[i].InUse() && std::strcmp(table[i].mem_name, name) == 0) {
            found = &table[i];
        }
    }
    for (std::size_t i = 0; i < kTableSize && found == nullptr; ++i) {
        if (!table[i].InUse()) {
            found = &table[i];
        }
    }
    Progress("[ComLIB] >> mem_name [NAME:%s]", name);
    Progress("[ComLIB] >> Search SMEMORY [NAME:%s]", found != nullptr ? found->mem_name : "");
    if (found == nullptr) {
        for (std::size_t i = 0; i < kTableSize; ++i) {
            if (!table[i].IsOpen()) {
                return &table[i];
            }
        }
    }
    return found;
}

void CheckVersion(void* info) {
    const LONG seen = ::InterlockedCompareExchange(Word(info, kVersionWord), kMajorVersion, 0);
    if (seen == 0 || seen == kMajorVersion) {
        return;
    }
    char text[256];
    std::snprintf(text, sizeof(text), kVersionWarningFormat,
                  static_cast<unsigned>(kMajorVersion));
    ShowMessage(text, kVersionWarningCaption);
}

// Once per process: close the channels at exit.
void RegisterExitAndControlHandlers() {
    static bool registered = false;
    if (!registered) {
        registered = true;
        std::atexit(&ComLibCloseAll);
        ::SetConsoleCtrlHandler(&ComLibCtrlHandler, TRUE);
    }
}

bool CreateEvents(ChannelRecord& record, const char* name) {
    struct EventSpec {
        kvt::UniqueKernelHandle ChannelRecord::*event;
        const char* suffix;
    };
    static const EventSpec kEvents[] = {
        {&ChannelRecord::dataEvent, "_EVENT"},       // set after every write and clear
        {&ChannelRecord::readEvent, "_READ_EVENT"},  // set by the reading end
    };
    for (const EventSpec& spec : kEvents) {
        const std::string eventName = ObjectName(name, spec.suffix);
        HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
        const DWORD error = ::GetLastError();
        if (event == nullptr) {
            ProgressFailure("CreateEvent", eventName.c_str(), error);
            return false;
        }
        (record.*spec.event).Reset(event);
    }
    return true;
}

bool OpenInfoBlock(ChannelRecord& record, const char* name) {
    const std::string infoName = ObjectName(name, "_INFO");
    record.infoMapping.Reset(::CreateFileMappingA(
        INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kInfoBlockSize, infoName.c_str()));
    DWORD error = ::GetLastError();
    if (!record.infoMapping) {
        ProgressFailure("CreateFileMapping", infoName.c_str(), error);
        return false;
    }
    record.infoView.Reset(
        ::MapViewOfFile(record.infoMapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    error = ::GetLastError();
    if (!record.infoView) {
        ProgressFailure("MapViewOfFile", infoName.c_str(), error);
        return false;
    }
    if (ViewSize(record.Info()) < kInfoBlockSize) {
        ProgressFailure("Size Check", infoName.c_str(), ERROR_INVALID_DATA);
        return false;
    }
    return true;
}

HANDLE OpenInto(ChannelRecord& record, const char* name, unsigned long size,
                unsigned long clearOption, unsigned long sendOption,
                unsigned long receiveOption) {
    OpenRollback rollback(record);

    HANDLE mapping =
        ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
    DWORD error = ::GetLastError();
    record.smem_handle.Reset(mapping);
    Progress("[ComLIB] >> shared_mem->smem_handle = %d",
             static_cast<int>(reinterpret_cast<std::intptr_t>(mapping)));
    if (mapping == nullptr) {
        ProgressFailure("CreateFileMapping", name, error);
        return nullptr;
    }
    Progress("%d", static_cast<int>(error));  // 183: the mapping already existed

    std::strncpy(record.mem_name, name, kNameCapacity - 1);
    record.dataView.Reset(::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    error = ::GetLastError();
    if (!record.dataView) {
        ProgressFailure("MapViewOfFile", name, error);
        return nullptr;
    }
    if (ViewSize(record.Data()) < size) {
        Progress("[ComLIB] Size Mismatch! [NAME:%s] [SIZE:%lu] [EXISTING:%lu]", name, size,
                 static_cast<unsigned long>(ViewSize(record.Data())));
        return nullptr;
    }
    record.dataSize = size;

    const std::string mutexName = ObjectName(name, "_MUTEX");
    record.mutex.Reset(::CreateMutexA(nullptr, FALSE, mutexName.c_str()));
    error = ::GetLastError();
    if (!record.mutex) {
        ProgressFailure("CreateMutex", mutexName.c_str(), error);
        return nullptr;
    }
    // Declared after the rollback: released before the record is.
    kvt::MutexLock lock(record.mutex.Get());

    if (!CreateEvents(record, name) || !OpenInfoBlock(record, name)) {
        return nullptr;
    }
    record.startCount = static_cast<std::uint32_t>(ReadWord(record.Info(), kWriteCountWord));
    IncrementWord(record.Info(), kOpenersWord);
    rollback.Counted();

    CheckVersion(record.Info());
    if (clearOption != 0) {
        ClearDataArea(record);
    }
    if (sendOption != 0 && !StartSendThread(record)) {
        return nullptr;
    }
    if (receiveOption != 0 && !StartReceiveThread(record)) {
        return nullptr;
    }
    RegisterExitAndControlHandlers();

    record.clearOption = clearOption;
    record.sendOption = sendOption;
    record.receiveOption = receiveOption;
    Progress("[ComLIB] >> CREATE & INITIALIZED SMEMORY [NAME:%s]", name);
    rollback.Keep();
    return record.Id();
}

}  // namespace
}  // namespace comlib

HANDLE ComLibOpen(const char* name, unsigned long size, unsigned long clearOption,
                  unsigned long sendOption, unsigned long receiveOption) {
    using namespace comlib;
    if (size == 0) {
        Progress("[ComLIB] Invalid Size! [NAME:%s] [SIZE:0]", name != nullptr ? name : "");
        return nullptr;
    }
    if (name == nullptr || name[0] == '\0') {
        Progress("[ComLIB] Invalid Name!");
        return nullptr;
    }
    const std::size_t length = std::strlen(name);
    if (length > kMaxNameLength) {
        Progress("[ComLIB] Name Too Long! [LENGTH:%lu] [MAX:%lu]",
                 static_cast<unsigned long>(length), static_cast<unsigned long>(kMaxNameLength));
        return nullptr;
    }

    ChannelRecord* record = SearchRecord(name);
    if (record == nullptr) {
        Progress("[ComLIB] Channel Table Full! [NAME:%s]", name);
        return nullptr;
    }
    if (record->IsOpen()) {
        Progress("[ComLIB] Already Exist!");
        return record->Id();
    }
    if (record->InUse()) {
        // A closed record (this name, or any when the table has no free slot left):
        // the channel is created anew in its place.
        Progress("[ComLIB] >> REUSE CLOSED SMEMORY [NAME:%s]", record->mem_name);
        ReleaseRecord(*record);
    }
    return OpenInto(*record, name, size, clearOption, sendOption, receiveOption);
}
