// The library in other processes: where the startup scenario comes from, the journal
// file a child writes, and the variants that each lack one transport export.
#include <gtest/gtest.h>

#include "common/Win32.h"
#include "support/SimCamera.h"
#include "support/TestSupport.h"

namespace {

const char* const kExports[] = {
    "k2pInitialize", "k2pTerminate", "k2pGetDeviceInfoArray", "k2pConnectCamera",
    "k2pClearRemoteEventProcedureParameter", "k2pPushRemoteEventProcedureSendParameter",
    "k2pExecuteRemoteEventProcedure", "k2pGetReturnDataSize",
    "k2pGetReturnDataForExecuteRemoteEventProcedure", "k2pGetSizeOfMemoryData",
    "k2pExecuteGetMemoryData"};

// Runs the child with the environment variable set (or removed for an empty value).
kvttest::ProcessResult RunChild(const std::string& dll, const std::string& command,
                                const char* envName = nullptr, const std::string& envValue = "") {
    if (envName != nullptr) {
        ::SetEnvironmentVariableA(envName, envValue.empty() ? nullptr : envValue.c_str());
    }
    kvttest::ProcessResult r = kvttest::RunProcess(
        "\"" + kvttest::BinDir() + "simulator_child.exe\" \"" + dll + "\" " + command,
        kvttest::CurrentDir());
    if (envName != nullptr) {
        ::SetEnvironmentVariableA(envName, nullptr);
    }
    return r;
}

std::string FirstLine(const std::string& out) {
    return out.substr(0, out.find_first_of("\r\n"));
}

TEST(SimulatorProcess, StartupScenarioComesFromTheEnvironmentBesideOrBuiltIn) {
    std::string dir = kvttest::MakeFreshDir("startup");
    ASSERT_FALSE(dir.empty());
    std::string dll = dir + "KVTItoPTP.dll";
    ASSERT_TRUE(kvttest::CopyFileTo(kvttest::BinDir() + "KVTItoPTP.dll", dll));

    kvttest::ProcessResult builtIn = RunChild(dll, "enumerate");
    EXPECT_EQ(FirstLine(builtIn.out), "init=0 count=1 name0=Tavol OXR camera");

    ASSERT_TRUE(kvttest::WriteFileBytes(dir + "KVTItoPTP.ini",
                                        "[Camera0]\r\nTemplate = empty\r\nName = Beside\r\n"));
    EXPECT_EQ(FirstLine(RunChild(dll, "enumerate").out), "init=0 count=1 name0=Beside");

    std::string named = dir + "named.ini";
    ASSERT_TRUE(kvttest::WriteFileBytes(named, "[Cameras]\nCount = 2\n[Camera0]\nName = Named\n"));
    EXPECT_EQ(FirstLine(RunChild(dll, "enumerate", "KVTSIM_SCENARIO", named).out),
              "init=0 count=2 name0=Named");

    // A broken scenario is not guessed around: no camera, and initialisation fails.
    ASSERT_TRUE(kvttest::WriteFileBytes(named, "[Camera0]\nName\n"));
    kvttest::ProcessResult broken = RunChild(dll, "enumerate", "KVTSIM_SCENARIO", named);
    EXPECT_EQ(FirstLine(broken.out), "init=117 count=0 name0=");
    EXPECT_NE(broken.err.find("line 2"), std::string::npos) << broken.err;
    kvttest::RemoveTree(dir);
}

TEST(SimulatorProcess, AChildsTrafficLandsInTheJournalFile) {
    std::string journal = kvttest::CurrentDir() + "child-journal.txt";
    ::DeleteFileA(journal.c_str());
    kvttest::ProcessResult r =
        RunChild(kvttest::BinDir() + "KVTItoPTP.dll", "counter", "KVTSIM_JOURNAL", journal);
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("read=0 01e30024000000000000"), std::string::npos) << r.out;
    std::vector<kvttest::SimCall> calls = kvttest::ReadSimJournalFile(journal);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(kvttest::SimTrace(calls), "MonReadAndGetData(2,4117,10)");
    EXPECT_EQ(calls.front().function, "k2pInitialize");
    EXPECT_EQ(calls.back().function, "k2pTerminate");  // from the exiting process
    EXPECT_NE(calls.front().pid, ::GetCurrentProcessId());
}

TEST(SimulatorProcess, TerminateIsSafeWhileTheProcessShutsDown) {
    std::string journal = kvttest::CurrentDir() + "exit-journal.txt";
    ::DeleteFileA(journal.c_str());
    kvttest::ProcessResult r =
        RunChild(kvttest::BinDir() + "KVTItoPTP.dll", "exit", "KVTSIM_JOURNAL", journal);
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("start=0"), std::string::npos) << r.out;
    std::vector<kvttest::SimCall> calls = kvttest::ReadSimJournalFile(journal);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().function, "k2pTerminate");
    EXPECT_EQ(calls.back().status, 0u);
}

TEST(SimulatorProcess, EachVariantLacksExactlyItsOneExport) {
    for (const char* missing : kExports) {
        SCOPED_TRACE(missing);
        std::string path = kvttest::BinDir() + "KVTItoPTP_no_" + missing + ".dll";
        HMODULE m = ::LoadLibraryA(path.c_str());
        ASSERT_NE(m, nullptr) << path;
        for (const char* name : kExports) {
            bool present = ::GetProcAddress(m, name) != nullptr;
            EXPECT_EQ(present, std::string(name) != missing) << name;
        }
        EXPECT_NE(::GetProcAddress(m, "kvtsim_LoadScenarioText"), nullptr);
        ::FreeLibrary(m);
    }
}

}  // namespace
