// KVT_LoadProperty and KVT_SaveProperty: one adjustment property between the camera
// and a file that holds exactly its bytes.
//
// The bytes move once: one buffer of the property's size, one camera read into it and
// one file write (load), or one file read into it and one property write (save).
// A camera reply of another size than the catalogue's is refused ("[VALU] DataSize",
// 35) before a file is created, so a file never holds bytes the camera did not send.
#include "include/kvt_factory.h"

#include <memory>
#include <new>

#include "common/Exception.h"
#include "common/Handles.h"
#include "common/LogFile.h"
#include "common/LogFrame.h"
#include "common/Win32.h"
#include "core/camera/Property.h"
#include "factory_api/ModuleState.h"
#include "factory_api/PropertyLookup.h"
#include "factory_api/FixedPause.h"
#include "factory_api/TextArguments.h"

using namespace kvtq517;

namespace {

// The checks both exports make before anything is sent: open device, then the texts.
void RequirePropertyArguments(const char* pszPropertyName, const char* pszFullPath) {
    RequireDeviceOpened();
    RequireText(pszPropertyName, kMaxPropertyNameLength, "pszPropertyName");
    RequireText(pszFullPath, kMaxPathTextLength, "pszFullPath");
}

std::unique_ptr<unsigned char[]> NewBuffer(std::uint32_t size) {
    std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[size]);
    if (!buffer) {
        kvt::Fail("[VALU] pBuffer", 5);
    }
    return buffer;
}

// Logs "[VALU] DataSize - <size>", commits and fails with 35.
[[noreturn]] void FailDataSize(unsigned long long size) {
    kvtlog::Stamp(ApiLog()) << "[VALU] DataSize - " << std::dec << size << '\n';
    kvtlog::CommitLog(ApiLog());
    kvt::Fail("[VALU] DataSize", 35);
}

// Creates the file or cuts it to length 0 and writes the bytes; a file that cannot be
// opened counts as not written.
void WriteWholeFile(const char* path, const unsigned char* data, std::uint32_t size) {
    kvt::UniqueFile file(::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !::WriteFile(file.Get(), data, size, &written, nullptr) || written != size) {
        kvt::Fail("[STDF] _write", 1);
    }
}

kvt::UniqueFile OpenForReading(const char* path) {
    kvt::UniqueFile file(::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        kvt::Fail("[SYSF] _sopen_s", 1);
    }
    return file;
}

// The file's length must be the property's size; then its bytes into `data`.
void ReadWholeFile(HANDLE file, unsigned char* data, std::uint32_t size) {
    LARGE_INTEGER length{};
    if (!::GetFileSizeEx(file, &length)) {
        kvt::Fail("[SYSF] _lseek", 1);
    }
    if (static_cast<unsigned long long>(length.QuadPart) != size) {
        FailDataSize(static_cast<unsigned long long>(length.QuadPart));
    }
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
        kvt::Fail("[SYSF] _lseek", 1);
    }
    DWORD read = 0;
    if (!::ReadFile(file, data, size, &read, nullptr) || read != size) {
        kvt::Fail("[SYSF] _read", 1);
    }
}

}  // namespace

unsigned long __stdcall KVT_LoadProperty(const char* pszPropertyName, const char* pszFullPath) {
    kvtlog::FrameLines lines{"[FUNC] KVT_LoadProperty"};
    lines.header = false;
    return kvtlog::RunFrame(ApiLog(), lines, [&] {
        CPublicProperty property;
        RequirePropertyArguments(pszPropertyName, pszFullPath);
        kvtlog::Stamp(ApiLog()) << "[VALU] pszPropertyName - " << pszPropertyName << '\n';
        kvtlog::Stamp(ApiLog()) << "[VALU] pszFullPath     - " << pszFullPath << '\n';

        PROPERTY_DATA_T record;
        const unsigned long found = SearchPropertyData(pszPropertyName, record);
        FailIfOdd(found, "[FUNC] SearchPropertyData");

        std::unique_ptr<unsigned char[]> buffer = NewBuffer(record.Size);
        unsigned returned = record.Size;
        property.Get(record.ID, returned, buffer.get());
        if (returned != record.Size) {
            FailDataSize(returned);
        }
        WriteWholeFile(pszFullPath, buffer.get(), record.Size);
    });
}

unsigned long __stdcall KVT_SaveProperty(const char* pszPropertyName, const char* pszFullPath) {
    return kvtlog::RunFrame(ApiLog(), {"[FUNC] KVT_SaveProperty"}, [&] {
        CPublicProperty property;
        RequirePropertyArguments(pszPropertyName, pszFullPath);

        PROPERTY_DATA_T record;
        if ((SearchPropertyData(pszPropertyName, record) & 1) != 0) {
            kvt::Fail("[EVNT] SearchPropertyData", 1);
        }

        const kvt::UniqueFile file = OpenForReading(pszFullPath);
        std::unique_ptr<unsigned char[]> buffer = NewBuffer(record.Size);
        ReadWholeFile(file.Get(), buffer.get(), record.Size);

        property.Set(record.ID, record.Size, static_cast<void*>(buffer.get()));
        WaitBeforePropertySave();
        CProperty::Save(record.ID);
    });
}
