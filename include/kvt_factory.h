/*
 * The factory API: the exports of "oxrmsg.dll", for factory adjustment programs.
 *
 * Every export is a plain function with the standard-call convention (__stdcall),
 * exported by its undecorated name, and returns an unsigned 32-bit result: KVT_OK (0)
 * or a failure code (kvt_results.h). Link with the import library of the SDK
 * (MinGW: -loxrmsg; MSVC: oxrmsg.lib made from oxrmsg.def), or load the library with
 * LoadLibrary and look the names up with GetProcAddress.
 *
 * The library keeps one camera connection per process; call it from one thread at a
 * time. Texts are narrow strings in the process's code page. Paths are at most 260
 * characters.
 *
 * Plain C (C89 and later) and C++. Only Windows compilers (MinGW-w64, MSVC).
 */
#ifndef KVT_FACTORY_H
#define KVT_FACTORY_H

#if !defined(_WIN32)
#error "kvt_factory.h declares the exports of a Windows library (oxrmsg.dll)"
#endif

#include "kvt_records.h"
#include "kvt_results.h"

/* The calling convention of every export. */
#define KVT_CALL __stdcall

/* Longest event procedure name, without the terminating zero. */
#define KVT_EVENT_PROC_NAME_MAX 127
/* Longest path accepted by the path exports, without the terminating zero. */
#define KVT_PATH_MAX 260

/* Bank 0xEE of the camera memory (KVT_MonitorChangeBank), where the release counters
 * are read. */
#define KVT_BANK_EE 238ul

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Device ----------------------------------------------------------------------
 * KVT_OpenDevice connects every attached camera and selects camera slot 0; with two
 * cameras, the one in tool mode becomes slot 0. It fails with the load-time failure
 * (KVT_E_PLUGIN_VERSION, KVT_E_INI_VERSION, ...) when the library could not initialise
 * its plug-ins. KVT_CloseDevice runs the plug-ins' terminate functions; the cameras
 * stay connected until the process unloads the library. */
unsigned long KVT_CALL KVT_OpenDevice(void);
unsigned long KVT_CALL KVT_CloseDevice(void);

/* ---- Monitor sessions --------------------------------------------------------------
 * Camera memory by bank, and camera functions by number. Open a session first (without
 * one the other four return KVT_E_MISSING); closing without a session returns KVT_OK.
 * A session does not need KVT_OpenDevice to have succeeded, but it needs a connected
 * camera. ReadMemory fills `size` bytes of `buffer`; WriteMemory sends them. */
unsigned long KVT_CALL KVT_MonitorOpenSession(void);
unsigned long KVT_CALL KVT_MonitorCloseSession(void);
unsigned long KVT_CALL KVT_MonitorChangeBank(unsigned long bankKind);
unsigned long KVT_CALL KVT_MonitorReadMemory(unsigned long address, unsigned long size,
                                             unsigned char* buffer);
unsigned long KVT_CALL KVT_MonitorWriteMemory(unsigned long address, unsigned long size,
                                              unsigned char* buffer);
unsigned long KVT_CALL KVT_MonitorCallFunction(unsigned long functionAddress);

/* ---- Event procedures ---------------------------------------------------------------
 * Runs the plug-in procedure registered under `pEventProcName` with the caller's
 * parameter buffer and returns its result (the procedure reference lists every name,
 * its parameter and size). Needs KVT_OpenDevice (else KVT_E_NOT_OPEN); an unknown name
 * gives KVT_E_MISSING; a null name, or one longer than KVT_EVENT_PROC_NAME_MAX
 * characters, gives KVT_E_ARGUMENT. The S form also compares `parameterSize` with the
 * registered size where one is registered (a difference gives KVT_E_ARGUMENT); prefer
 * it. */
unsigned long KVT_CALL KVT_ExecuteEventProc(const char* pEventProcName, void* pParameter);
unsigned long KVT_CALL KVT_ExecuteEventProcS(const char* pEventProcName, void* pParameter,
                                             unsigned long parameterSize);

/* ---- Release parameters (ReleaseParameter, kvt_records.h) ---------------------------
 * Set writes the record to the camera (at least 200 ms: two fixed pauses), Get reads
 * it back. The Ex forms never write word 6. The S forms work on camera slot `slot` and
 * select slot 0 again when they end: slot 0 all 20 words, slot 1 all but the flavor
 * data, other slots words 0-7 only. A failure halfway leaves the earlier writes made. */
unsigned long KVT_CALL KVT_SetReleaseParameter(const ReleaseParameter* pReleaseParameter);
unsigned long KVT_CALL KVT_GetReleaseParameter(ReleaseParameter* pReleaseParameter);
unsigned long KVT_CALL KVT_SetReleaseParameterEx(const ReleaseParameter* pReleaseParameter);
unsigned long KVT_CALL KVT_GetReleaseParameterEx(ReleaseParameter* pReleaseParameter);
unsigned long KVT_CALL KVT_SetReleaseParameterS(const ReleaseParameter* pReleaseParameter,
                                                unsigned long slot);
unsigned long KVT_CALL KVT_GetReleaseParameterS(ReleaseParameter* pReleaseParameter,
                                                unsigned long slot);

/* ---- Release and transfer ------------------------------------------------------------
 * Releases the shutter and writes the images that the camera's quality code gives
 * (word 9 of the release parameters) to psFullPath cut at its last dot (a dot in a
 * folder name counts too) plus ".tr2" for the raw image, ".jpg" for the JPEG image.
 * Needs KVT_OpenDevice. The S form works
 * on camera slot `slot` and selects slot 0 again; MVT_ReleaseAndTransfer sets bit 10 of
 * the camera's fixed flag for the release. */
unsigned long KVT_CALL KVT_ReleaseAndTransfer(const char* psFullPath);
unsigned long KVT_CALL KVT_ReleaseAndTransferS(const char* psFullPath, unsigned long slot);
unsigned long KVT_CALL MVT_ReleaseAndTransfer(const char* psFullPath);

/* ---- Property files, paths and diagnostics --------------------------------------------
 * KVT_LoadProperty reads one adjustment property (a catalogue name such as
 * "PROP_BODY_ID") into a file of exactly its size; KVT_SaveProperty writes such a file
 * into the property and has the camera store it. Both need KVT_OpenDevice.
 * KVT_SetFolderPath publishes the folder into which the event procedure
 * "LoadPropertyData" writes one "<id>.bin" file per property: end it with a backslash
 * (otherwise its last component is dropped). KVT_SetFilePath publishes a file path for
 * the plug-ins. The Delete forms leave the published paths as they are. KVT_Debug
 * creates the gain data folder of the connected camera body. */
unsigned long KVT_CALL KVT_LoadProperty(const char* pszPropertyName, const char* pszFullPath);
unsigned long KVT_CALL KVT_SaveProperty(const char* pszPropertyName, const char* pszFullPath);
unsigned long KVT_CALL KVT_SetFilePath(const char* pszFilePath);
unsigned long KVT_CALL KVT_DeleteFilePath(void);
unsigned long KVT_CALL KVT_SetFolderPath(const char* pszFolderPath);
unsigned long KVT_CALL KVT_DeleteFolderPath(void);
unsigned long KVT_CALL KVT_Debug(void);

#ifdef __cplusplus
}  /* extern "C" */
#endif

/* Results travel as unsigned long, which is 32 bits on every Windows compiler. */
KVT_STATIC_ASSERT(sizeof(unsigned long) == 4, kvt_result_is_32_bits);

#endif /* KVT_FACTORY_H */
