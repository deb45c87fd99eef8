// Binding the eleven transport functions, each from a fresh process with its own copy
// of Corvane and of the transport library.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

#include "common/Win32.h"
#include "device/CoreRun.h"

namespace {

using coretest::CoreRun;
using coretest::CoreSetup;
using coretest::RunCore;

struct Missing {
    const char* function;
    const char* message;
};

// In the order of the lookups.
const Missing kMissing[] = {
    {"k2pInitialize", "[VALU] _pImpl->_k2pInitialize"},
    {"k2pTerminate", "[VALU] _pImpl->_k2pTerminate"},
    {"k2pGetDeviceInfoArray", "[VALU] _pImpl->_k2pGetDeviceInfoArray"},
    {"k2pConnectCamera", "[VALU] _pImpl->_k2pConnectCamera"},
    {"k2pClearRemoteEventProcedureParameter",
     "[VALU] _pImpl->_k2pClearRemoteEventProcedureParameter"},
    {"k2pPushRemoteEventProcedureSendParameter",
     "[VALU] _pImpl->_k2pPushRemoteEventProcedureSendParemeter"},
    {"k2pExecuteRemoteEventProcedure", "[VALU] _pImpl->_k2pExecuteEventProcedure"},
    {"k2pGetSizeOfMemoryData", "[VALU] _pImpl->_k2pGetSizeOfMemoryData"},
    {"k2pExecuteGetMemoryData", "[VALU] _pImpl->_k2pExecuteGetMemoryData"},
    {"k2pGetReturnDataSize", "[VALU] _pImpl->_k2pGetReturnDataSize"},
    {"k2pGetReturnDataForExecuteRemoteEventProcedure",
     "[VALU] _pImpl->_k2pGetReturnDataForExecuteRemoteEventProcedure"},
};

TEST(Binding, EachMissingExportFailsWithItsMessageAndNoAddressLines) {
    for (const Missing& m : kMissing) {
        CoreSetup setup;
        setup.transport = std::string("KVTItoPTP_no_") + m.function + ".dll";
        CoreRun run = RunCore(setup, {"open", "clear"});
        ASSERT_EQ(run.results, (std::vector<std::string>{"35", "35"}))
            << m.function << run.process.err;
        const int init = run.Find("[FUNC] InitializeApiManager");
        ASSERT_GE(init, 0) << m.function;
        EXPECT_EQ(run.log.at(init + 1), std::string("[ERR!] - ") + m.message);
        EXPECT_EQ(run.log.at(init + 2), "[FUNC] InitializeApiManager - 35");
        EXPECT_EQ(kvttest::FindLineContaining(run.log, "[VALU] _k2p"), -1) << m.function;
        // Nothing of a half-bound library is ever called.
        EXPECT_TRUE(run.journal.empty()) << m.function;
        EXPECT_EQ(run.process.exitCode, 0);
    }
}

// The four address lines follow the binding, in lower-case hexadecimal, and name the
// functions the library exports (its test-build base is fixed, so this process sees
// them at the same addresses).
TEST(Binding, CompleteLibraryLogsTheFirstFourAddresses) {
    CoreRun run = RunCore({}, {"open"});
    ASSERT_EQ(run.results, (std::vector<std::string>{"0"})) << run.process.err;
    HMODULE sim = ::LoadLibraryA((kvttest::BinDir() + "KVTItoPTP.dll").c_str());
    ASSERT_NE(sim, nullptr);
    const char* const names[4][2] = {
        {"k2pInitialize", "[VALU] _k2pInitialize         - 0x"},
        {"k2pTerminate", "[VALU] _k2pTerminate          - 0x"},
        {"k2pGetDeviceInfoArray", "[VALU] _k2pGetDeviceInfoArray - 0x"},
        {"k2pConnectCamera", "[VALU] _k2pConnectCamera      - 0x"},
    };
    const int init = run.Find("[FUNC] InitializeApiManager");
    ASSERT_GE(init, 0);
    for (int i = 0; i < 4; ++i) {
        char address[32];
        std::snprintf(address, sizeof(address), "%08llx",
                      static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(
                          ::GetProcAddress(sim, names[i][0]))));
        EXPECT_EQ(run.log.at(init + 1 + i), std::string(names[i][1]) + address);
    }
    EXPECT_EQ(run.log.at(init + 5), "[FUNC] InitializeApiManager - 0");
    ::FreeLibrary(sim);
}

}  // namespace
