// Test control of the simulated camera library "KVTItoPTP.dll": exports beside the
// eleven transport functions that tests use to set up the camera and to check what
// the product sent. Product code never uses them.
//
// Link the library (its import library) and call them directly, or bind them with
// GetProcAddress through the pointer types below. All return 0 for success or a
// status of simulator/camera/Status.h (117 = bad scenario, 121 = not found, ...).
// Texts are zero-terminated. Camera numbers are scenario indexes (0 to 7).
#pragma once

#define KVTSIM_CALL __stdcall

#if defined(KVTSIM_BUILDING)
#define KVTSIM_API
#else
#define KVTSIM_API __declspec(dllimport)
#endif

extern "C" {

// Replaces the whole simulated world with a scenario (cameras, contents, faults) and
// clears the journal. The transport stays initialised; connected slots stay connected.
KVTSIM_API unsigned KVTSIM_CALL kvtsim_LoadScenarioText(const char* text);
KVTSIM_API unsigned KVTSIM_CALL kvtsim_LoadScenarioFile(const char* path);
// Applies a scenario text on top of the current state ("#n" counts from now).
KVTSIM_API unsigned KVTSIM_CALL kvtsim_ApplyScenarioText(const char* text);
// Reloads the startup scenario (KVTSIM_SCENARIO, KVTItoPTP.ini beside the library,
// else built-in) and clears the journal.
KVTSIM_API unsigned KVTSIM_CALL kvtsim_Reset();
// The message of the last scenario that failed; returns its length.
KVTSIM_API unsigned KVTSIM_CALL kvtsim_ScenarioError(char* buffer, unsigned size);

// The journal kept in memory. `*needed` = its length without the terminating zero;
// returns 107 when `size` cannot hold it with the zero (then nothing is copied).
KVTSIM_API unsigned KVTSIM_CALL kvtsim_JournalText(char* buffer, unsigned size,
                                                   unsigned* needed);
KVTSIM_API unsigned KVTSIM_CALL kvtsim_ClearJournal();
// Appends every later line to a file as well; null or "" stops that.
KVTSIM_API unsigned KVTSIM_CALL kvtsim_SetJournalFile(const char* path);

// Makes the `nth` next call (1 = the next one; 0 = every call) of a transport
// function return `status` without doing anything; status 0 removes its faults.
KVTSIM_API unsigned KVTSIM_CALL kvtsim_SetFault(const char* function, unsigned nth,
                                                unsigned status);
// Calls since the scenario was loaded: of a transport function when `name` is one
// (camera is then ignored), else of that camera-side procedure on that camera.
KVTSIM_API unsigned KVTSIM_CALL kvtsim_CallCount(unsigned camera, const char* name);

// Property values. space: 0 public, 1 private, 2 adapter; stored: 0 current value,
// 1 non-volatile store. Get copies min(size, actual) bytes and sets *actual.
KVTSIM_API unsigned KVTSIM_CALL kvtsim_GetProperty(unsigned camera, unsigned space,
                                                   unsigned stored, unsigned id,
                                                   void* buffer, unsigned size,
                                                   unsigned* actual);
KVTSIM_API unsigned KVTSIM_CALL kvtsim_SetProperty(unsigned camera, unsigned space,
                                                   unsigned stored, unsigned id,
                                                   const void* data, unsigned size);
// Camera memory of processor kind 0, 1 or 2.
KVTSIM_API unsigned KVTSIM_CALL kvtsim_GetMemory(unsigned camera, unsigned cpuKind,
                                                 unsigned address, void* buffer,
                                                 unsigned size);
KVTSIM_API unsigned KVTSIM_CALL kvtsim_SetMemory(unsigned camera, unsigned cpuKind,
                                                 unsigned address, const void* data,
                                                 unsigned size);
// A-board EEPROM words, addresses 0 to 127.
KVTSIM_API unsigned KVTSIM_CALL kvtsim_GetEeprom(unsigned camera, unsigned address,
                                                 unsigned* word);
KVTSIM_API unsigned KVTSIM_CALL kvtsim_SetEeprom(unsigned camera, unsigned address,
                                                 unsigned word);
// Camera state by name: "Initialized", "CameraCount", "Connected", "MonitorSession",
// "PowerSave", "DigitalSetup", "ReleaseOpen", "ReleaseCount", "ImagesDelivered",
// "LogTransferOpen", "TransMemoryCount", "ParameterCount", "DispDialResult".
KVTSIM_API unsigned KVTSIM_CALL kvtsim_GetState(unsigned camera, const char* name,
                                                unsigned* value);
// Image `index` (0 = delivered first) of the camera's last release: copies
// min(size, length) bytes; *needed = its length.
KVTSIM_API unsigned KVTSIM_CALL kvtsim_GetReleaseImage(unsigned camera, unsigned index,
                                                       void* buffer, unsigned size,
                                                       unsigned* needed);

typedef unsigned(KVTSIM_CALL* kvtsim_LoadScenarioText_t)(const char*);
typedef unsigned(KVTSIM_CALL* kvtsim_LoadScenarioFile_t)(const char*);
typedef unsigned(KVTSIM_CALL* kvtsim_ApplyScenarioText_t)(const char*);
typedef unsigned(KVTSIM_CALL* kvtsim_Reset_t)();
typedef unsigned(KVTSIM_CALL* kvtsim_ScenarioError_t)(char*, unsigned);
typedef unsigned(KVTSIM_CALL* kvtsim_JournalText_t)(char*, unsigned, unsigned*);
typedef unsigned(KVTSIM_CALL* kvtsim_ClearJournal_t)();
typedef unsigned(KVTSIM_CALL* kvtsim_SetJournalFile_t)(const char*);
typedef unsigned(KVTSIM_CALL* kvtsim_SetFault_t)(const char*, unsigned, unsigned);
typedef unsigned(KVTSIM_CALL* kvtsim_CallCount_t)(unsigned, const char*);
typedef unsigned(KVTSIM_CALL* kvtsim_GetProperty_t)(unsigned, unsigned, unsigned, unsigned,
                                                    void*, unsigned, unsigned*);
typedef unsigned(KVTSIM_CALL* kvtsim_SetProperty_t)(unsigned, unsigned, unsigned, unsigned,
                                                    const void*, unsigned);
typedef unsigned(KVTSIM_CALL* kvtsim_GetMemory_t)(unsigned, unsigned, unsigned, void*,
                                                  unsigned);
typedef unsigned(KVTSIM_CALL* kvtsim_SetMemory_t)(unsigned, unsigned, unsigned, const void*,
                                                  unsigned);
typedef unsigned(KVTSIM_CALL* kvtsim_GetEeprom_t)(unsigned, unsigned, unsigned*);
typedef unsigned(KVTSIM_CALL* kvtsim_SetEeprom_t)(unsigned, unsigned, unsigned);
typedef unsigned(KVTSIM_CALL* kvtsim_GetState_t)(unsigned, const char*, unsigned*);
typedef unsigned(KVTSIM_CALL* kvtsim_GetReleaseImage_t)(unsigned, unsigned, void*, unsigned,
                                                        unsigned*);
}
