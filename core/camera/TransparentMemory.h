// CTransparentMemory: named transparent memory blocks of the camera. A block is an area
// of camera memory registered under a name ("AttachToTransMemory", "AddTransMemory");
// its content is then readable as the memory-data block of that name. The object
// remembers the name it registered last and removes that registration when it goes.
//
// Typical use: Attach(name, a, b), QuerySize(name, &n), Read(name, buffer, n), let go.
//
// The two values of Attach and Add belong to the camera-side procedures and are passed
// through unchanged. A later Attach or Add replaces the remembered name without removing
// the earlier registration on the camera. Remove(Name) forgets the remembered name
// whatever name it removes.
//
// Members that can fail come in two halves (see common/ModuleBoundary.h). Copying is
// refused: a copy would share, and free a second time, the implementation object.
//
// The destructor never throws: it runs Remove() and, should that fail, writes the
// failure to the log ("[ERR!] - <message>" and "[ERR!] - [FUNC]
// CTransparentMemory::~CTransparentMemory"). Callers that must see that failure call
// Remove() first.
#pragma once

#include <string>

#include "common/Exception.h"
#include "common/ExportMacros.h"
#include "common/ModuleBoundary.h"
#include "core/camera/EventProcedure.h"

class CORVANE_API CTransparentMemory : public CEventProcedure {
public:
    CTransparentMemory() : _pImpl(nullptr) { kvt::RaiseReported(_Construct()); }
    virtual ~CTransparentMemory();

    CTransparentMemory(const CTransparentMemory&) = delete;
    CTransparentMemory& operator=(const CTransparentMemory&) = delete;

    // Registers Name; a nonzero result fails with "[EVNT] AttachToTransMemory" (or
    // "[EVNT] AddTransMemory") and that result, and the remembered name stays.
    void Attach(const std::string& Name, const unsigned& First, const unsigned& Second) {
        kvt::RaiseReported(_Attach(Name, First, Second));
    }
    void Add(const std::string& Name, const unsigned& First, const unsigned& Second) {
        kvt::RaiseReported(_Add(Name, First, Second));
    }
    // "RemoveTransMemory" for Name. Once the camera has answered, the remembered name is
    // forgotten whatever the answer; a nonzero one then fails with "[EVNT]
    // RemoveTransMemory" (code 1). A failed transport call leaves the name remembered.
    void Remove(const std::string& Name) { kvt::RaiseReported(_Remove(Name)); }
    // Removes the remembered registration, if any; the camera's result is not judged.
    void Remove() { kvt::RaiseReported(_Remove()); }

    // The size of the named block ("[VALU] pDataSize", 3, when null).
    void QuerySize(const std::string& Name, unsigned* pDataSize) {
        kvt::RaiseReported(_QuerySize(Name, pDataSize));
    }
    // The position of the named block ("[VALU] pPosition", 3, when null); position 0
    // means none and fails with "[VALU] *pPosition" (35).
    void QueryPosition(const std::string& Name, unsigned* pPosition) {
        kvt::RaiseReported(_QueryPosition(Name, pPosition));
    }

    // Both reads need DataSize to be the block's size ("[VALU] DataSize", 35, nothing
    // read otherwise).
    //
    // Allocates DataSize bytes with new[], stores the array at *ppData and reads into
    // it; the caller frees it with delete[]. On any failure nothing is left allocated
    // and *ppData is null ("[VALU] ppData", 3, when ppData is null; "[VALU] ppData", 1,
    // when the allocation fails).
    void Read(const std::string& Name, unsigned char** ppData, const unsigned& DataSize) {
        kvt::RaiseReported(_Read(Name, ppData, DataSize));
    }
    // Reads into the caller's buffer of DataSize bytes ("[VALU] pData", 3, when null).
    void Read(const std::string& Name, void* pData, const unsigned& DataSize) {
        kvt::RaiseReported(_Read(Name, pData, DataSize));
    }

    // The exported halves: each returns its failure instead of raising it.
    CException* _Construct() noexcept;
    CException* _Attach(const std::string& Name, const unsigned& First,
                        const unsigned& Second) noexcept;
    CException* _Add(const std::string& Name, const unsigned& First,
                     const unsigned& Second) noexcept;
    CException* _Remove(const std::string& Name) noexcept;
    CException* _Remove() noexcept;
    CException* _QuerySize(const std::string& Name, unsigned* pDataSize) noexcept;
    CException* _QueryPosition(const std::string& Name, unsigned* pPosition) noexcept;
    CException* _Read(const std::string& Name, unsigned char** ppData,
                      const unsigned& DataSize) noexcept;
    CException* _Read(const std::string& Name, void* pData, const unsigned& DataSize) noexcept;

private:
    class Impl;
    Impl* _pImpl;
};
