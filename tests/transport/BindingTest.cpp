// Binding the eleven transport functions, each from a fresh process with its own copy
// of Corvane and of the transport library.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>

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
// functions the library exports: each address lies at its function's offset from one
// and the same load address of the library in the child (in the 64-bit build, whose
// bases are fixed, the address this process sees too; a 32-bit load may sit elsewhere).
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
    const std::uintptr_t here = reinterpret_cast<std::uintptr_t>(sim);
    std::set<std::uintptr_t> childBases;
    for (int i = 0; i < 4; ++i) {
        const std::string& line = run.log.at(init + 1 + i);
        const std::string head = names[i][1];
        ASSERT_EQ(line.substr(0, head.size()), head) << line;
        const std::string digits = line.substr(head.size());
        ASSERT_GE(digits.size(), 8u) << line;
        EXPECT_EQ(digits.find_first_not_of("0123456789abcdef"), std::string::npos) << line;
        const std::uintptr_t offset =
            reinterpret_cast<std::uintptr_t>(::GetProcAddress(sim, names[i][0])) - here;
        childBases.insert(static_cast<std::uintptr_t>(std::stoull(digits, nullptr, 16)) - offset);
    }
    ASSERT_EQ(childBases.size(), 1u) << "the four addresses are not of one library";
    EXPECT_EQ(*childBases.begin() % 0x10000, 0u);
    if (sizeof(void*) == 8) {
        EXPECT_EQ(*childBases.begin(), here);
    }
    EXPECT_EQ(run.log.at(init + 5), "[FUNC] InitializeApiManager - 0");
    ::FreeLibrary(sim);
}

}  // namespace
