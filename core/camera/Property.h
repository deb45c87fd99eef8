// Camera properties: blocks of bytes on the camera named by a 32-bit identifier, in
// three spaces (public, private, adapter), each with its own set and get procedures.
// CProperty writes, reads, saves and loads single properties, saves a list of them in
// one transaction, and sets up the camera's digital property data once per device open.
//
// Members that can fail come in two halves (see common/ModuleBoundary.h). Copying is
// refused: a copy would share, and free a second time, the implementation object.
//
// Get writes the number of returned bytes back into the caller's size variable when it
// is a modifiable unsigned; the size on entry is the capacity of pData, and larger
// return data is refused ("[VALU] ReturnDataSize", 35) instead of overrunning it.
#pragma once

#include <string>

#include "common/Exception.h"
#include "common/ExportMacros.h"
#include "common/ModuleBoundary.h"
#include "core/camera/EventProcedure.h"

class CORVANE_API CProperty : public CEventProcedure {
public:
    // The public property space: "FA_SetProperty", "FA_GetProperty", "FA_SaveProperty".
    CProperty() : _pImpl(nullptr) {
        kvt::RaiseReported(_Construct("FA_SetProperty", "FA_GetProperty", "FA_SaveProperty"));
    }
    CProperty(const std::string& SetName, const std::string& GetName,
              const std::string& SaveName)
        : _pImpl(nullptr) {
        kvt::RaiseReported(_Construct(SetName, GetName, SaveName));
    }
    virtual ~CProperty();

    CProperty(const CProperty&) = delete;
    CProperty& operator=(const CProperty&) = delete;

    // Sends identifier, size and the `size` bytes at pData ("[VALU] pData", 3 when null).
    // A set result with bit 0 set fails with "[EVNT] FA_Set*Property" and that result.
    void Set(const unsigned& PropertyID, const unsigned& size, void* pData) {
        kvt::RaiseReported(_Set(PropertyID, size, pData));
    }
    // Sends the low `size` bytes of `value`; sizes above 4 are refused ("[VALU] size", 3).
    void Set(const unsigned& PropertyID, const unsigned& size, unsigned value) {
        kvt::RaiseReported(_Set(PropertyID, size, value));
    }
    // Reads into pData (room for `size` bytes); `size` receives the returned count.
    void Get(const unsigned& PropertyID, unsigned& size, void* pData) {
        kvt::RaiseReported(_Get(PropertyID, size, &size, pData));
    }
    // For a size the caller cannot let change: the count is not written back.
    void Get(const unsigned& PropertyID, const unsigned& size, void* pData) {
        unsigned returned = 0;
        kvt::RaiseReported(_Get(PropertyID, size, &returned, pData));
    }

    static void Save(const unsigned& PropertyID) { kvt::RaiseReported(_Save(PropertyID)); }
    static void Load(const unsigned& PropertyID) { kvt::RaiseReported(_Load(PropertyID)); }
    // Forgets that the digital property data were set up.
    static void Initialize() noexcept;
    // "FA_SetupDigitalPropertyData" unless done since the last device open.
    void Setup() { kvt::RaiseReported(_Setup()); }
    // The property's data size; -1 from the camera fails with code 1.
    int GetSize(const unsigned& PropertyID) {
        int size = 0;
        kvt::RaiseReported(_GetSize(PropertyID, &size));
        return size;
    }
    // Offset of the named item in the digital property data; -1 fails with code 1.
    int GetOffset(const unsigned& PropertyID, const std::string& Name) {
        int offset = 0;
        kvt::RaiseReported(_GetOffset(PropertyID, Name, &offset));
        return offset;
    }

    // The save list: InitializeList(n), up to n PushList, SaveList.
    void ClearList() noexcept;
    void InitializeList(const unsigned& PropertyCountMax) {
        kvt::RaiseReported(_InitializeList(PropertyCountMax));
    }
    void PushList(const unsigned& PropertyID) { kvt::RaiseReported(_PushList(PropertyID)); }
    void SaveList() { kvt::RaiseReported(_SaveList()); }

    // The exported halves: each returns its failure instead of raising it.
    CException* _Construct(const std::string& SetName, const std::string& GetName,
                           const std::string& SaveName) noexcept;
    CException* _Set(const unsigned& PropertyID, const unsigned& size, void* pData) noexcept;
    CException* _Set(const unsigned& PropertyID, const unsigned& size, unsigned value) noexcept;
    CException* _Get(const unsigned& PropertyID, const unsigned& capacity, unsigned* returned,
                     void* pData) noexcept;
    static CException* _Save(const unsigned& PropertyID) noexcept;
    static CException* _Load(const unsigned& PropertyID) noexcept;
    CException* _Setup() noexcept;
    CException* _GetSize(const unsigned& PropertyID, int* size) noexcept;
    CException* _GetOffset(const unsigned& PropertyID, const std::string& Name,
                           int* offset) noexcept;
    CException* _InitializeList(const unsigned& PropertyCountMax) noexcept;
    CException* _PushList(const unsigned& PropertyID) noexcept;
    CException* _SaveList() noexcept;

private:
    // True once the digital property data were set up in this process; cleared by
    // Initialize, by a failed Setup and by every device open.
    static bool _IsSetupDigitalProperty;

    class Impl;
    Impl* _pImpl;
};

class CORVANE_API CPublicProperty : public CProperty {
public:
    CPublicProperty() : CProperty() {}
    virtual ~CPublicProperty();
};

class CORVANE_API CPrivateProperty : public CProperty {
public:
    CPrivateProperty()
        : CProperty("FA_SetPrivateProperty", "FA_GetPrivateProperty", "FA_SavePrivateProperty") {}
    virtual ~CPrivateProperty();
};

class CORVANE_API CAdapterProperty : public CProperty {
public:
    CAdapterProperty()
        : CProperty("FA_SetAdapterProperty", "FA_GetAdapterProperty", "FA_SaveAdapterProperty") {}
    virtual ~CAdapterProperty();
};
