// Tests' view of the simulated camera library "KVTItoPTP.dll": its journal parsed
// into records, a one-line trace of the camera-side procedures that ran, and the
// test-control exports bound at run time (so a test program need not link it).
//
//   kvttest::SimCamera sim;                      // binds the loaded (or build/bin) DLL
//   sim.Load("[Camera0]\nToolMode = 0\n");       // a fresh scenario
//   ... run the product ...
//   EXPECT_EQ(kvttest::SimTrace(sim.Journal()), "MonOpen(0) MonReadAndGetData(2,4117,10) MonClose(0)");
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/Win32.h"
#include "simulator/camera/SimControl.h"

namespace kvttest {

// One pushed parameter: its type code (0, 1, 2 integer of 1, 2, 4 bytes; 4 block) and bytes.
struct SimParam {
    unsigned type = 0;
    std::string bytes;
    std::uint32_t U32() const;   // little-endian value of up to 4 bytes
    std::string Text() const;    // a block up to its first zero byte
    bool operator==(const SimParam& o) const { return type == o.type && bytes == o.bytes; }
};

// One journal line: "<pid>:<seq> <function> key=value ...".
struct SimCall {
    unsigned pid = 0;
    unsigned seq = 0;
    std::string function;                       // "k2pExecuteRemoteEventProcedure", ...
    std::map<std::string, std::string> fields;  // every key=value as written
    int camera = -1;                            // "cam", -1 when absent
    std::string procedure;                      // "proc", unescaped
    int flag = -1;                              // "flag"
    std::vector<SimParam> params;               // "params"
    unsigned status = 0;                        // "st"
    std::uint32_t result = 0;                   // "res"
    bool injected = false;                      // "inj=1": a fault of the transport function

    bool IsExecute() const { return function == "k2pExecuteRemoteEventProcedure"; }
    std::string Field(const std::string& key) const;
    // Parameter i as a 32-bit value (0 when absent).
    std::uint32_t Param(std::size_t i) const { return i < params.size() ? params[i].U32() : 0; }
};

std::vector<SimCall> ParseSimJournal(const std::string& text);
// The execute records, optionally of one procedure only.
std::vector<SimCall> SimExecutes(const std::vector<SimCall>& calls,
                                 const std::string& procedure = std::string());
// The executes in one line, blank-separated: "Name(p1,p2,...)". Integers below 65536
// in decimal, larger ones as 0x and 8 hex digits; blocks as "text" when they are
// printable and zero-terminated, else as [hex].
std::string SimTrace(const std::vector<SimCall>& calls);

// The journal file a child process wrote (KVTSIM_JOURNAL).
std::vector<SimCall> ReadSimJournalFile(const std::string& path);

// The test-control exports of the library. The library is the one already loaded in
// the process, else build/bin/KVTItoPTP.dll. Ok() is false when it cannot be bound.
class SimCamera {
public:
    SimCamera();
    // The test controls of this loaded copy of the library (another library of the same
    // file name, such as the transport recorder, may be loaded too).
    explicit SimCamera(HMODULE library);
    bool Ok() const { return _ok; }

    bool Load(const std::string& scenarioText);   // replaces the world
    bool Apply(const std::string& scenarioText);  // on top of it
    bool Reset();
    std::string Error() const;                    // of the last failed scenario
    std::string JournalText() const;
    std::vector<SimCall> Journal() const { return ParseSimJournal(JournalText()); }
    std::string Trace() const { return SimTrace(Journal()); }
    void ClearJournal() const;
    // The nth next call (0 = every) of a transport function returns `status`.
    bool SetFault(const std::string& function, unsigned nth, unsigned status) const;
    // The nth next call (0 = every) of a camera-side procedure returns `result`.
    bool ForceResult(unsigned camera, const std::string& procedure, unsigned nth,
                     std::uint32_t result);
    unsigned CallCount(unsigned camera, const std::string& name) const;
    // Property bytes (space 0 public, 1 private, 2 adapter); empty when absent.
    std::string Property(unsigned camera, unsigned space, std::uint32_t id,
                         bool stored = false) const;
    bool SetProperty(unsigned camera, unsigned space, std::uint32_t id,
                     const std::string& bytes) const;
    std::string Memory(unsigned camera, unsigned cpuKind, std::uint32_t address,
                       unsigned size) const;
    bool SetMemory(unsigned camera, unsigned cpuKind, std::uint32_t address,
                   const std::string& bytes) const;
    // A named state of kvtsim_GetState; `fallback` when unknown.
    unsigned State(unsigned camera, const std::string& name, unsigned fallback = ~0u) const;
    std::string ReleaseImage(unsigned camera, unsigned index) const;

private:
    void BindAll(HMODULE library);

    bool _ok = false;
    kvtsim_LoadScenarioText_t _load = nullptr;
    kvtsim_ApplyScenarioText_t _apply = nullptr;
    kvtsim_Reset_t _reset = nullptr;
    kvtsim_ScenarioError_t _error = nullptr;
    kvtsim_JournalText_t _journal = nullptr;
    kvtsim_ClearJournal_t _clearJournal = nullptr;
    kvtsim_SetFault_t _setFault = nullptr;
    kvtsim_CallCount_t _callCount = nullptr;
    kvtsim_GetProperty_t _getProperty = nullptr;
    kvtsim_SetProperty_t _setProperty = nullptr;
    kvtsim_GetMemory_t _getMemory = nullptr;
    kvtsim_SetMemory_t _setMemory = nullptr;
    kvtsim_GetState_t _getState = nullptr;
    kvtsim_GetReleaseImage_t _getReleaseImage = nullptr;
};

}  // namespace kvttest
