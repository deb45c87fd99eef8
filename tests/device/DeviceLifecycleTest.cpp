// OpenDevice, CloseDevice and Corvane's unload, each from a fresh process.
#include <gtest/gtest.h>

#include "device/CoreRun.h"

namespace {

using coretest::CoreRun;
using coretest::CoreSetup;
using coretest::RunCore;
using coretest::Slice;
using Lines = std::vector<std::string>;

const char kNoCamera[] = "[Cameras]\nCount = 0\n";
const char kOneCamera[] = "[Cameras]\nCount = 1\n";

// The lines of the first open that connects one camera, from its "[----]" on, with the
// camera's handle line taken from the log itself.
Lines OpenLines(const CoreRun& run, int from, bool first) {
    const int entry = run.Find("[FUNC] OpenDevice", from);
    if (entry < 1) {
        return {};
    }
    const int handle = kvttest::FindLineContaining(run.log, "[VALU] hCamera[ 0 ] - 0x", entry);
    Lines lines = {"[----]", "[FUNC] OpenDevice", "[----]", "[FUNC] InitializeApiManager"};
    if (first) {
        // The four address lines are checked by the binding tests; here only their place.
        for (int i = 0; i < 4; ++i) {
            lines.push_back(run.log.at(entry + 3 + i));
        }
    } else {
        lines.push_back("[FUNC] InitializeApiManager(Dup.)");
    }
    lines.push_back("[FUNC] InitializeApiManager - 0");
    lines.push_back("[VALU] CameraCount - 1");
    lines.push_back(handle < 0 ? std::string("(no handle line)") : run.log[handle]);
    lines.push_back("[FUNC] OpenDevice - 0");
    return lines;
}

TEST(DeviceLifecycle, SecondOpenReconnectsWithoutInitialisingAgain) {
    CoreRun run = RunCore({}, {"open", "open"});
    ASSERT_EQ(run.results, (Lines{"0", "0"})) << run.process.out << run.process.err;
    EXPECT_EQ(run.Calls("k2pInitialize"), 1u);
    EXPECT_EQ(run.Calls("k2pGetDeviceInfoArray"), 2u);
    EXPECT_EQ(run.Calls("k2pConnectCamera"), 2u);

    const int first = run.Find("[FUNC] OpenDevice") - 1;
    const int second = run.Find("[FUNC] OpenDevice", first + 2) - 1;
    ASSERT_GE(first, 0);
    ASSERT_GT(second, first);
    EXPECT_EQ(Slice(run.log, first, first + 12), OpenLines(run, first, true));
    EXPECT_EQ(run.log.at(first + 4).rfind("[VALU] _k2pInitialize         - 0x", 0), 0u);
    EXPECT_EQ(Slice(run.log, second, second + 9), OpenLines(run, second, false));
}

TEST(DeviceLifecycle, OpenWithoutCameraFailsThenSucceedsWithoutInitialisingAgain) {
    CoreSetup setup;
    setup.scenario = kNoCamera;
    setup.files = {{"one.ini", kOneCamera}};
    CoreRun run = RunCore(setup, {"open", "scenario=one.ini", "open"});
    ASSERT_EQ(run.results, (Lines{"3", "0", "0"})) << run.process.out << run.process.err;
    EXPECT_EQ(run.Calls("k2pInitialize"), 1u);
    // An empty enumeration connects nothing.
    EXPECT_EQ(run.Calls("k2pConnectCamera"), 1u);

    const int count = run.Find("[VALU] CameraCount - 0");
    ASSERT_GE(count, 0);
    EXPECT_EQ(Slice(run.log, count, count + 3),
              (Lines{"[VALU] CameraCount - 0", "[ERR!] - [VALU] CameraIndex",
                     "[FUNC] OpenDevice - 3"}));
    const int again = run.Find("[FUNC] OpenDevice", count) - 1;
    EXPECT_EQ(Slice(run.log, again, again + 9), OpenLines(run, again, false));
}

TEST(DeviceLifecycle, UnloadWithoutOpenTouchesNoTransport) {
    CoreRun run = RunCore({}, {"close"});
    ASSERT_EQ(run.results, (Lines{"0"}));
    EXPECT_TRUE(run.journal.empty());
    const int close = run.Find("[FUNC] CloseDevice") - 1;
    ASSERT_GE(close, 0);
    EXPECT_EQ(Slice(run.log, close, close + 3),
              (Lines{"[----]", "[FUNC] CloseDevice", "[FUNC] CloseDevice - 0"}));
    const int terminate = run.Find("[FUNC] TerminateApiManager") - 1;
    ASSERT_GT(terminate, close);
    EXPECT_EQ(Slice(run.log, terminate, terminate + 6),
              (Lines{"[----]", "[FUNC] TerminateApiManager",
                     "[FUNC] TerminateApiManager Without Init.",
                     "[FUNC] TerminateApiManager - 0", "[CMNT] " + std::string(79, '*'),
                     "[CMNT]  Corvane.dll Terminate"}));
}

TEST(DeviceLifecycle, UnloadTerminatesAnInitialisedTransportOnce) {
    struct Case {
        const char* scenario;
        Lines lines;
    } cases[] = {
        {kOneCamera,
         {"[----]", "[FUNC] TerminateApiManager", "[FUNC] TerminateApiManager - 0"}},
        {"[Cameras]\nCount = 1\n[Faults]\nk2pTerminate = 9\n",
         {"[----]", "[FUNC] TerminateApiManager", "[ERR!] - [FUNC] _pImpl->Terminate",
          "[FUNC] TerminateApiManager - 1"}},
    };
    for (const Case& c : cases) {
        CoreSetup setup;
        setup.scenario = c.scenario;
        CoreRun run = RunCore(setup, {"open", "close"});
        ASSERT_EQ(run.results, (Lines{"0", "0"})) << c.scenario;
        ASSERT_FALSE(run.journal.empty());
        EXPECT_EQ(run.journal.back().function, "k2pTerminate") << c.scenario;
        EXPECT_EQ(run.Calls("k2pTerminate"), 1u) << c.scenario;
        EXPECT_EQ(run.process.exitCode, 0);
        const int terminate = run.Find("[FUNC] TerminateApiManager") - 1;
        ASSERT_GE(terminate, 0) << c.scenario;
        EXPECT_EQ(Slice(run.log, terminate, terminate + static_cast<int>(c.lines.size())),
                  c.lines);
        EXPECT_EQ(run.log.at(terminate + c.lines.size() + 1), "[CMNT]  Corvane.dll Terminate");
    }
}

// A failed initialisation: the inner failure, InitializeApiManager's exit, then
// OpenDevice's failure under InitializeApiManager's name with the same code.
TEST(DeviceLifecycle, InitialisationFailureLogOrderAndRetry) {
    struct Case {
        const char* transport;
        const char* scenario;
        const char* inner;
        const char* code;
    } cases[] = {
        {"KVTItoPTP_no_k2pConnectCamera.dll", "", "[VALU] _pImpl->_k2pConnectCamera", "35"},
        {"", "", "[WAPI] LoadLibrary", "1"},
        {"KVTItoPTP.dll", "[Cameras]\nCount = 1\n[Faults]\nk2pInitialize#1 = 7\n",
         "[FUNC] _pImpl->_k2pInitiaize", "1"},
    };
    for (const Case& c : cases) {
        CoreSetup setup;
        setup.transport = c.transport;
        setup.scenario = c.scenario;
        CoreRun run = RunCore(setup, {"open", "open"});
        ASSERT_EQ(run.results.size(), 2u) << c.inner << run.process.err;
        EXPECT_EQ(run.results[0], c.code) << c.inner;
        const int open = run.Find("[FUNC] OpenDevice") - 1;
        ASSERT_GE(open, 0);
        const std::string code = c.code;
        // A library that was bound logs its four addresses before initialising.
        const bool bound = std::string(c.transport) == "KVTItoPTP.dll";
        Lines log = Slice(run.log, open, open + (bound ? 12 : 8));
        if (bound && log.size() == 12) {
            EXPECT_EQ(log[4].rfind("[VALU] _k2pInitialize         - 0x", 0), 0u);
            log.erase(log.begin() + 4, log.begin() + 8);
        }
        EXPECT_EQ(log,
                  (Lines{"[----]", "[FUNC] OpenDevice", "[----]", "[FUNC] InitializeApiManager",
                         std::string("[ERR!] - ") + c.inner,
                         "[FUNC] InitializeApiManager - " + code,
                         "[ERR!] - [FUNC] InitializeApiManager", "[FUNC] OpenDevice - " + code}))
            << c.inner;
        // The next open starts again from loading: the same failure, or, once the
        // injected fault is spent, a complete initialisation.
        const int retry = run.Find("[FUNC] InitializeApiManager", open + 8);
        ASSERT_GT(retry, open);
        if (std::string(c.scenario).empty()) {
            EXPECT_EQ(run.results[1], c.code);
            EXPECT_EQ(run.log.at(retry + 1), std::string("[ERR!] - ") + c.inner);
        } else {
            EXPECT_EQ(run.results[1], "0");
            EXPECT_EQ(run.Calls("k2pInitialize"), 2u);
            EXPECT_EQ(run.log.at(retry + 1).rfind("[VALU] _k2pInitialize         - 0x", 0), 0u);
        }
        EXPECT_EQ(run.Find("[FUNC] InitializeApiManager(Dup.)"), -1);
        EXPECT_EQ(run.process.exitCode, 0);
    }
}

// Camera access before any open finds no bound transport: a clear failure, no crash.
TEST(DeviceLifecycle, CameraCallBeforeOpenIsRefused) {
    CoreRun run = RunCore({}, {"clear", "open", "clear"});
    ASSERT_EQ(run.results, (Lines{"35", "0", "0"})) << run.process.err;
    EXPECT_GE(run.Find("[ERR!] - [VALU] _pImpl->_k2pClearRemoteEventProcedureParameter"), 0);
    EXPECT_EQ(run.Calls("k2pClearRemoteEventProcedureParameter"), 1u);
}

}  // namespace
