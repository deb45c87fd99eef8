// CAPIManager: the one owner of the transport library "KVTItoPTP.dll" in a process.
// It loads the library from Corvane's own folder, binds its eleven functions, keeps the
// enumerated cameras and their handles, selects the camera every later transport call
// addresses, and wraps each per-call transport function in a CAutoTimer.
//
// A process-wide singleton reached through GetInstance; all state is static and shared.
// Members that can fail come in two halves (see common/ModuleBoundary.h). The seven
// per-call wrappers never throw: they return the transport status (35 when the
// transport is not bound, 3 for a null required pointer, without calling it).
//
// Camera slots: eight. Connecting refuses more than eight enumerated cameras
// ("[VALU] CameraCount", 35) and an index of eight or more, so no slot beyond the
// eighth is ever written or selected.
#pragma once

#include "common/Exception.h"
#include "common/ExportMacros.h"
#include "common/FilePath.h"
#include "common/ModuleBoundary.h"

class CORVANE_API CAPIManager : public CFilePath {
public:
    // Constructs the singleton on first use (CFilePath's construction may fail with
    // "[VALU] _pImpl->_hCommonModule", 35); destroyed at process exit.
    static CAPIManager& GetInstance() {
        CAPIManager* instance = nullptr;
        kvt::RaiseReported(_GetInstance(&instance));
        return *instance;
    }

    // Loads "KVTItoPTP.dll" from Corvane's folder ("[WAPI] LoadLibrary", 1).
    void LoadLibraryA() { kvt::RaiseReported(_LoadLibraryA()); }
    // Binds all eleven functions or none ("[VALU] _pImpl->_k2p...", 35).
    void LoadFunction() { kvt::RaiseReported(_LoadFunction()); }
    // Unloads the transport library and forgets it and its functions.
    void FreeLibrary() noexcept;

    void Initialize() { kvt::RaiseReported(_Initialize()); }
    void Terminate() { kvt::RaiseReported(_Terminate()); }

    // Enumerates the cameras and logs "[VALU] CameraCount - n".
    void GetDeviceInfoArray() { kvt::RaiseReported(_GetDeviceInfoArray()); }
    // Enumerates the cameras and returns the count in *count; logs nothing.
    void GetDeviceInfoArray(unsigned* count) { kvt::RaiseReported(_GetDeviceInfoArray(count)); }

    // Connects record 0 into slot 0; refused when no camera was enumerated.
    void ConnectCamera() { kvt::RaiseReported(_ConnectCamera()); }
    // Connects record `index` into slot `index`.
    void ConnectCameraEx(const unsigned& index) { kvt::RaiseReported(_ConnectCameraEx(index)); }
    // Connects every enumerated record; nothing with no camera.
    void ConnectCameraEx() { kvt::RaiseReported(_ConnectCameraEx()); }

    void SelectCamera(const unsigned& index) { kvt::RaiseReported(_SelectCamera(index)); }

    void SetCameraCount(const unsigned& count) noexcept;
    unsigned GetCameraCount() const noexcept;
    // The handle slot of the selected camera.
    void SetCameraHandle(const unsigned& handle) noexcept;
    unsigned GetCameraHandle() const noexcept;

    // The timed per-call wrappers; each returns the transport status.
    unsigned ClearRemoteEventProcedureParameter() noexcept;
    unsigned PushRemoteEventProcedureSendParameter(const unsigned& type, void* data,
                                                   const unsigned& size) noexcept;
    unsigned ExecuteRemoteEventProcedure(const char* name, const bool& returnData,
                                         unsigned* result) noexcept;
    unsigned GetReturnDataSize(unsigned* size) noexcept;
    unsigned GetReturnDataForExecuteRemoteEventProcedure(void* buffer, const unsigned& size,
                                                         unsigned* copied) noexcept;
    unsigned GetSizeOfMemoryData(const char* name, unsigned* size) noexcept;
    unsigned ExecuteGetMemoryData(void* buffer, const unsigned& size, unsigned* read) noexcept;

    // The exported halves: each returns its failure instead of raising it.
    static CException* _GetInstance(CAPIManager** instance) noexcept;
    CException* _LoadLibraryA() noexcept;
    CException* _LoadFunction() noexcept;
    CException* _Initialize() noexcept;
    CException* _Terminate() noexcept;
    CException* _GetDeviceInfoArray() noexcept;
    CException* _GetDeviceInfoArray(unsigned* count) noexcept;
    CException* _ConnectCamera() noexcept;
    CException* _ConnectCameraEx(const unsigned& index) noexcept;
    CException* _ConnectCameraEx() noexcept;
    CException* _SelectCamera(const unsigned& index) noexcept;

private:
    CAPIManager();
    ~CAPIManager() override;
    CAPIManager(const CAPIManager&) = delete;
    CAPIManager& operator=(const CAPIManager&) = delete;

    static const char* const FILE_NAME_KVTI2PTP;   // "KVTItoPTP.dll"
};
