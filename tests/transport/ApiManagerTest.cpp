// CAPIManager in this process, on two simulated cameras: selection, handle slots,
// connecting, enumeration and the timed wrappers.
#include <gtest/gtest.h>

#include <cstdio>

#include "core/device/DeviceLifecycle.h"
#include "core/transport/APIManager.h"
#include "support/SimCamera.h"
#include "support/TestSupport.h"

namespace {

using Lines = std::vector<std::string>;

// Camera 1's handle has hexadecimal letters and its top bit set: the connection line
// shows it in lower case and as an unsigned number.
const char kTwoCameras[] = "[Cameras]\nCount = 2\n[Camera0.Procedures]\nProbe.Result = 0\n"
                           "[Camera1]\nHandle = 0xC0FFEE17\n"
                           "[Camera1.Procedures]\nProbe.Result = 0\n";

struct Raised {
    unsigned long code = 0;
    std::string message;
    bool operator==(const Raised& o) const { return code == o.code && message == o.message; }
    friend std::ostream& operator<<(std::ostream& out, const Raised& r) {
        return out << "{" << r.code << ", \"" << r.message << "\"}";
    }
};

template <class Call>
Raised Catch(Call&& call) {
    Raised r;
    try {
        call();
    } catch (CException* e) {
        r = {e->Code(), e->Message()};
        delete e;
    } catch (...) {
        r = {33, "(not a CException)"};
    }
    return r;
}

std::string HandleLine(unsigned index, std::uint32_t handle) {
    char text[64];
    std::snprintf(text, sizeof(text), "[VALU] hCamera[ %u ] - 0x%08x( %10u )", index, handle,
                  handle);
    return text;
}

class ApiManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        static bool opened = false;
        ASSERT_TRUE(sim.Ok());
        if (!opened) {
            ::DeleteFileA("KvtDll.log");
            ASSERT_TRUE(sim.Load(kTwoCameras)) << sim.Error();
            ASSERT_EQ(OpenDevice(), 0);
            opened = true;
        }
        // Every test starts from an open device: both cameras connected, camera 0 selected.
        ASSERT_TRUE(sim.Load(kTwoCameras)) << sim.Error();
        ASSERT_EQ(OpenDevice(), 0);
        for (const auto& call : sim.Journal()) {
            if (call.function == "k2pConnectCamera") {
                handles.push_back(static_cast<std::uint32_t>(
                    std::stoul(call.Field("h"), nullptr, 16)));
            }
        }
        ASSERT_EQ(handles.size(), 2u);
        ASSERT_EQ(handles[1], 0xC0FFEE17u);
        sim.ClearJournal();
        logLines = kvttest::ReadLogLines("KvtDll.log").size();
    }

    Lines NewLogLines() {
        Lines all = kvttest::ReadLogLines("KvtDll.log");
        Lines fresh(all.begin() + std::min(logLines, all.size()), all.end());
        logLines = all.size();
        return fresh;
    }

    CAPIManager& api = CAPIManager::GetInstance();
    kvttest::SimCamera sim;
    std::vector<std::uint32_t> handles;
    std::size_t logLines = 0;
};

TEST_F(ApiManagerTest, OpenConnectsEveryCameraWithItsLine) {
    EXPECT_EQ(api.GetCameraCount(), 2u);
    EXPECT_EQ(api.GetCameraHandle(), handles[0]);
    ASSERT_TRUE(sim.Load(kTwoCameras));
    NewLogLines();
    ASSERT_EQ(OpenDevice(), 0);
    const Lines log = NewLogLines();
    const int count = kvttest::FindLine(log, "[VALU] CameraCount - 2");
    ASSERT_GE(count, 0);
    EXPECT_EQ(log.at(count + 1), HandleLine(0, handles[0]));
    EXPECT_EQ(log.at(count + 2), HandleLine(1, handles[1]));
    EXPECT_EQ(log.at(count + 2), "[VALU] hCamera[ 1 ] - 0xc0ffee17( 3237998103 )");
}

TEST_F(ApiManagerTest, SelectionAddressesTheSlotAndRefusesOutOfRange) {
    EXPECT_EQ(Catch([&] { api.SelectCamera(2); }), (Raised{3, "[VALU] CameraIndex"}));
    EXPECT_EQ(api.GetCameraHandle(), handles[0]);
    api.SelectCamera(1);
    EXPECT_EQ(api.GetCameraHandle(), handles[1]);

    // Every wrapper but the size query sends the selected camera's handle; the timing
    // line names the camera.
    NewLogLines();
    EXPECT_EQ(api.ClearRemoteEventProcedureParameter(), 0u);
    unsigned size = 0;
    EXPECT_EQ(api.GetReturnDataSize(&size), 0u);
    const auto journal = sim.Journal();
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[0].camera, 1);
    EXPECT_EQ(journal[0].Field("h"), [&] {
        char h[16];
        std::snprintf(h, sizeof(h), "0x%08x", handles[1]);
        return std::string(h);
    }());
    EXPECT_EQ(journal[1].function, "k2pGetReturnDataSize");
    EXPECT_EQ(journal[1].Field("h"), "");
    const Lines log = NewLogLines();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].substr(14), " msec. : Camera[1] : Func : _k2pClearRemoteEventProcedureParameter");
    EXPECT_EQ(log[1].substr(14), " msec. : Camera[1] : Func : k2pGetReturnDataSize");
    EXPECT_EQ(log[0].substr(0, 7), "[TIME] ");
}

TEST_F(ApiManagerTest, HandleWritesOnlyTheSelectedSlot) {
    api.SelectCamera(1);
    api.SetCameraHandle(0xABCD);
    api.SelectCamera(0);
    EXPECT_EQ(api.GetCameraHandle(), handles[0]);
    api.SelectCamera(1);
    EXPECT_EQ(api.GetCameraHandle(), 0xABCDu);
    // A handle the transport does not know: its status comes back, nothing is raised.
    const unsigned status = api.ClearRemoteEventProcedureParameter();
    EXPECT_NE(status, 0u);
    EXPECT_EQ(sim.Journal().back().status, status);
}

TEST_F(ApiManagerTest, ConnectingChecksTheCountBeforeAnyTransportCall) {
    struct Case {
        unsigned count;
        std::function<void()> connect;
        Raised raised;
    } cases[] = {
        {0, [&] { api.ConnectCameraEx(); }, {}},
        {0, [&] { api.ConnectCamera(); }, {3, "[VALU] CameraCount"}},
        {2, [&] { api.ConnectCameraEx(2); }, {3, "[VALU] DeviceIndex"}},
        // A count set above the enumeration's: record 2 is past the transport's array.
        {3, [&] { api.ConnectCameraEx(2); }, {3, "[VALU] DeviceIndex"}},
        // Eight handle slots: more cameras are refused, no slot beyond the eighth written.
        {9, [&] { api.ConnectCameraEx(); }, {35, "[VALU] CameraCount"}},
        {9, [&] { api.ConnectCameraEx(8); }, {3, "[VALU] DeviceIndex"}},
        {9, [&] { api.SelectCamera(8); }, {3, "[VALU] CameraIndex"}},
    };
    for (const Case& c : cases) {
        api.SetCameraCount(c.count);
        NewLogLines();
        EXPECT_EQ(Catch(c.connect), c.raised) << c.count << " " << c.raised.message;
        EXPECT_TRUE(sim.Journal().empty()) << c.raised.message;
        EXPECT_EQ(NewLogLines(), Lines()) << c.raised.message;
    }
    api.SetCameraCount(2);
    EXPECT_EQ(api.GetCameraHandle(), handles[0]);
}

TEST_F(ApiManagerTest, ConnectingOneRecordAndAFailureHalfway) {
    api.ConnectCamera();
    api.ConnectCameraEx(1);
    EXPECT_EQ(NewLogLines(), (Lines{HandleLine(0, handles[0]), HandleLine(1, handles[1])}));

    ASSERT_TRUE(sim.SetFault("k2pConnectCamera", 2, 7));
    EXPECT_EQ(Catch([&] { api.ConnectCameraEx(); }),
              (Raised{1, "[FUNC] _pImpl->_k2pConnectCameraEx"}));
    EXPECT_EQ(NewLogLines(), (Lines{HandleLine(0, handles[0])}));
    ASSERT_TRUE(sim.SetFault("k2pConnectCamera", 1, 7));
    EXPECT_EQ(Catch([&] { api.ConnectCamera(); }),
              (Raised{1, "[FUNC] _pImpl->_k2pConnectCamera"}));
    api.SelectCamera(1);
    EXPECT_EQ(api.GetCameraHandle(), handles[1]);
}

TEST_F(ApiManagerTest, EnumerationForms) {
    unsigned count = 0;
    NewLogLines();
    api.GetDeviceInfoArray(&count);
    EXPECT_EQ(count, 2u);
    EXPECT_EQ(NewLogLines(), Lines());
    api.GetDeviceInfoArray();
    EXPECT_EQ(NewLogLines(), (Lines{"[VALU] CameraCount - 2"}));
    EXPECT_EQ(Catch([&] { api.GetDeviceInfoArray(nullptr); }), (Raised{3, "[VALU] count"}));

    ASSERT_TRUE(sim.SetFault("k2pGetDeviceInfoArray", 1, 7));
    EXPECT_EQ(Catch([&] { api.GetDeviceInfoArray(); }),
              (Raised{1, "[FUNC] _pImpl->_k2pGetDeviceInfoArray"}));
    EXPECT_EQ(NewLogLines(), Lines());
}

TEST_F(ApiManagerTest, WrappersPassArgumentsAndReturnTheStatus) {
    unsigned result = 99;
    int value = 0x0A0B0C0D;
    EXPECT_EQ(api.ClearRemoteEventProcedureParameter(), 0u);
    EXPECT_EQ(api.PushRemoteEventProcedureSendParameter(2, &value, 4), 0u);
    EXPECT_EQ(api.ExecuteRemoteEventProcedure("Probe", true, &result), 0u);
    unsigned size = 1;
    EXPECT_EQ(api.GetReturnDataSize(&size), 0u);
    EXPECT_EQ(size, 0u);
    const auto journal = sim.Journal();
    ASSERT_EQ(journal.size(), 4u);
    EXPECT_EQ(journal[1].Field("type"), "2");
    EXPECT_EQ(journal[1].Field("size"), "4");
    EXPECT_EQ(journal[2].procedure, "Probe");
    EXPECT_EQ(journal[2].flag, 1);
    ASSERT_EQ(journal[2].params.size(), 1u);
    EXPECT_EQ(journal[2].params[0].U32(), 0x0A0B0C0Du);

    // A failed status is returned, not raised, and is the status the transport gave.
    ASSERT_TRUE(sim.SetFault("k2pExecuteRemoteEventProcedure", 1, 13));
    EXPECT_EQ(api.ExecuteRemoteEventProcedure("Probe", false, &result), 13u);
    EXPECT_EQ(api.ExecuteRemoteEventProcedure("NoSuchProcedure", false, &result), 109u);
}

TEST_F(ApiManagerTest, WrappersRefuseNullPointersWithoutCallingTheTransport) {
    unsigned out = 0;
    char buffer[4];
    const unsigned four = 4;
    EXPECT_EQ(api.PushRemoteEventProcedureSendParameter(4, nullptr, four), 3u);
    EXPECT_EQ(api.ExecuteRemoteEventProcedure(nullptr, false, &out), 3u);
    EXPECT_EQ(api.ExecuteRemoteEventProcedure("Probe", false, nullptr), 3u);
    EXPECT_EQ(api.GetReturnDataSize(nullptr), 3u);
    EXPECT_EQ(api.GetReturnDataForExecuteRemoteEventProcedure(nullptr, four, &out), 3u);
    EXPECT_EQ(api.GetReturnDataForExecuteRemoteEventProcedure(buffer, four, nullptr), 3u);
    EXPECT_EQ(api.GetSizeOfMemoryData(nullptr, &out), 3u);
    EXPECT_EQ(api.GetSizeOfMemoryData("BlockA", nullptr), 3u);
    EXPECT_EQ(api.ExecuteGetMemoryData(nullptr, four, &out), 3u);
    EXPECT_EQ(api.ExecuteGetMemoryData(buffer, four, nullptr), 3u);
    EXPECT_TRUE(sim.Journal().empty());
}

}  // namespace
