// The library-wide state of the factory API library: one instance per process,
// created at library load and released at unload (LibraryMain.cpp). No lock: callers
// use the exports from one thread at a time.
//
// Export files include this header for the device-open flag, the monitor object and
// the named blocks, and log through ApiLog() (or a stream of their own).
#pragma once

#include <cstdint>
#include <string>

#include "common/LogStream.h"
#include "common/SharedMemory.h"

class CSLRMonitor;

namespace kvtq517 {

// The camera model this library drives. Its low 16 bits in lower-case hexadecimal
// ("517") name the model folder "_Q517_" and the plug-in extension ".q517".
constexpr std::uint32_t kModelID = 0x80000517;

// The word published at load in the first 32 bits of "SHARED_NAME_CONFIGURATION".
// High 16 bits: the low 16 bits of the model identifier (0x0517); low 16 bits: the
// layout revision of the configuration block (1: only this word carries meaning, the
// other 257 bytes stay zero). A zero word therefore means "no factory API library has
// published its configuration". Every event-procedure call copies it; nothing decides
// on it.
constexpr std::uint32_t kConfigurationWord = ((kModelID & 0xFFFFu) << 16) | 0x0001u;

extern CParserHandleSharedMemory* m_pParserHandleSharedMemory;
extern CModelIDSharedMemory* m_pModelIDSharedMemory;
extern CConfigurationSharedMemory* m_pConfigurationSharedMemory;
extern CBodyIDSharedMemory* m_pBodyIDSharedMemory;
// Created on first use by the path exports; released at unload.
extern CFileSharedMemory* m_pFileSharedMemory;
extern CFolderSharedMemory* m_pFolderSharedMemory;
// The one monitor session object of the monitor exports, or null.
extern CSLRMonitor* m_pSLRMonitor;
// Result of Initialize at load: 0, or the failure every KVT_OpenDevice returns.
extern unsigned long m_InitializingResult;
// 1 after a successful KVT_OpenDevice, 0 after KVT_CloseDevice.
extern unsigned long m_DeviceOpened;

// The log stream of the exported functions.
kvtlog::LogStream& ApiLog();

// Fails with "[ERR!] OpenDevice Error." (29) unless the device is open.
void RequireDeviceOpened();

// A step's result with bit 0 set (the library's failure codes are odd) fails with
// `message` and that result as the code.
void FailIfOdd(unsigned long result, const char* message);

// "517" and "_Q517_" for a model identifier.
std::string ModelDigits(std::uint32_t modelID);
std::string ModelFolderName(std::uint32_t modelID);

}  // namespace kvtq517
