// The release-and-transfer exports on the simulated camera, with the device-open flag
// set as a successful KVT_OpenDevice leaves it (the library's load-time work is not
// needed here; tests/release/ReleaseDeployTest.cpp runs the real library).
#include <gtest/gtest.h>

#include <functional>

#include "core/transport/APIManager.h"
#include "factory_api/ModuleState.h"
#include "include/kvt_factory.h"
#include "release/CameraFixture.h"

using namespace releasetest;

namespace {

class ReleaseAndTransfer : public CameraTest {
protected:
    void SetUp() override {
        _dir = kvttest::MakeFreshDir("transfer");
        kvtq517::m_DeviceOpened = 1;
    }
    void TearDown() override {
        kvtq517::m_DeviceOpened = 0;
        kvttest::RemoveTree(_dir);
    }
    const std::string& Dir() const { return _dir; }

    // The camera-side procedures in the order they ran.
    std::vector<std::string> Procedures() const {
        std::vector<std::string> names;
        for (const auto& call : Executes("")) {
            names.push_back(call.procedure);
        }
        return names;
    }
    // The values written to the fixed flag (public property 0), in order.
    std::vector<std::uint32_t> FixedFlagWrites() const {
        std::vector<std::uint32_t> values;
        for (const auto& call : Executes("FA_SetProperty")) {
            if (call.Param(0) == 0 && call.params.size() == 3) {
                values.push_back(call.params[2].U32());
            }
        }
        return values;
    }

private:
    std::string _dir;
};

using Names = std::vector<std::string>;

TEST_F(ReleaseAndTransfer, TheQualityCodeDecidesTheFilesAndTheirOrder) {
    struct Case {
        unsigned quality;
        Names files;   // in delivery order
        Names procedures;
        const char* traw;
        const char* jpeg;
    } cases[] = {
        {1, {"shot.jpg"}, {"FA_GetProperty", "FA_RemoteRelease", "FA_FinishRemoteRelease"},
         "false", "true"},
        {6, {"shot.tr2"}, {"FA_GetProperty", "FA_RemoteRelease", "FA_FinishRemoteRelease"},
         "true", "false"},
        {7, {"shot.tr2", "shot.jpg"},
         {"FA_GetProperty", "FA_RemoteRelease", "FA_GetRemoteReleasePlusImage",
          "FA_FinishRemoteRelease"},
         "true", "true"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.quality);
        UseScenario(CameraScenario(c.quality));
        EXPECT_EQ(KVT_ReleaseAndTransfer((Dir() + "shot").c_str()), 0u);
        EXPECT_EQ(Procedures(), c.procedures);
        for (std::size_t i = 0; i < c.files.size(); ++i) {
            EXPECT_EQ(kvttest::ReadFileBytes(Dir() + c.files[i]),
                      sim.ReleaseImage(0, static_cast<unsigned>(i)));
            ::DeleteFileA((Dir() + c.files[i]).c_str());
        }
        const int entry = LogIndex("[FUNC] SearchImageFormat");
        ASSERT_GE(entry, 1);
        const std::vector<std::string> log = NewLog();
        EXPECT_EQ(log[entry - 1], "[----]");
        EXPECT_GE(LogIndex(std::string("[VALU] IsContainTraw - ") + c.traw, entry), 0);
        EXPECT_GE(LogIndex(std::string("[VALU] IsContainJpeg - ") + c.jpeg, entry), 0);
        EXPECT_GE(LogIndex("[FUNC] SearchImageFormat - 0", entry), 0);
        EXPECT_EQ(log.back(), "[KVTI] KVT_ReleaseAndTransfer - 0");
    }
}

TEST_F(ReleaseAndTransfer, AnUnknownQualityCodeFailsBeforeTheRelease) {
    UseScenario(CameraScenario(2));
    EXPECT_EQ(KVT_ReleaseAndTransfer((Dir() + "shot").c_str()), 35u);
    EXPECT_EQ(Procedures(), Names{"FA_GetProperty"});
    const int at = LogIndex("[ERR!] - [VALU] ImageFormat");
    ASSERT_GE(at, 0);
    EXPECT_EQ(LogIndex("[ERR!] - [FUNC] SearchImageFormat"), at + 1);
    EXPECT_EQ(LogIndex("[KVTI] KVT_ReleaseAndTransfer - 35"), at + 2);
    EXPECT_EQ(LogIndex("[FUNC] SearchImageFormat - 0"), -1);
}

TEST_F(ReleaseAndTransfer, AFailingFinishIsReportedWithItsCode) {
    UseScenario(CameraScenario(1));
    ASSERT_TRUE(sim.ForceResult(0, "FA_FinishRemoteRelease", 1, 5));
    EXPECT_EQ(KVT_ReleaseAndTransfer((Dir() + "shot").c_str()), 5u);
    EXPECT_EQ(kvttest::ReadFileBytes(Dir() + "shot.jpg"), sim.ReleaseImage(0, 0));
    EXPECT_EQ(Executes("FA_FinishRemoteRelease").size(), 1u);
    const int at = LogIndex("[ERR!] - [EVNT] FA_FinishRemoteRelease");
    ASSERT_GE(at, 0);
    EXPECT_EQ(LogIndex("[KVTI] KVT_ReleaseAndTransfer - 5"), at + 1);
}

TEST_F(ReleaseAndTransfer, TheSlotExportWorksOnItsCameraAndEndsOnSlot0) {
    UseScenario(CameraScenario(1, 2));
    EXPECT_EQ(KVT_ReleaseAndTransferS((Dir() + "second").c_str(), 1), 0u);
    EXPECT_EQ(kvttest::ReadFileBytes(Dir() + "second.jpg"), sim.ReleaseImage(1, 0));
    for (const auto& call : Executes("")) {
        EXPECT_EQ(call.camera, 1) << call.procedure;
    }
    sim.ClearJournal();
    EXPECT_EQ(KVT_ReleaseAndTransfer((Dir() + "first").c_str()), 0u);
    EXPECT_EQ(kvttest::ReadFileBytes(Dir() + "first.jpg"), sim.ReleaseImage(0, 0));
    for (const auto& call : Executes("")) {
        EXPECT_EQ(call.camera, 0) << call.procedure;
    }

    // Also a call refused for a closed device ends on slot 0.
    CAPIManager::GetInstance().SelectCamera(1);
    kvtq517::m_DeviceOpened = 0;
    MarkLog();
    EXPECT_EQ(KVT_ReleaseAndTransferS((Dir() + "second").c_str(), 1), 29u);
    EXPECT_GE(LogIndex("[ERR!] - [ERR!] OpenDevice Error."), 0);
    kvtq517::m_DeviceOpened = 1;
    sim.ClearJournal();
    EXPECT_EQ(KVT_ReleaseAndTransfer((Dir() + "first").c_str()), 0u);
    for (const auto& call : Executes("")) {
        EXPECT_EQ(call.camera, 0) << call.procedure;
    }
}

TEST_F(ReleaseAndTransfer, MvtSetsBit10OfTheFixedFlagForTheRelease) {
    UseScenario(CameraScenario(7));
    ASSERT_TRUE(sim.SetProperty(0, 0, 0x00000000, Le32(1)));
    EXPECT_EQ(MVT_ReleaseAndTransfer((Dir() + "shot").c_str()), 0u);
    EXPECT_EQ(FixedFlagWrites(), (std::vector<std::uint32_t>{0x401, 0x001}));
    EXPECT_EQ(Procedures(),
              (Names{"FA_GetProperty", "FA_SetProperty", "FA_GetProperty", "FA_RemoteRelease",
                     "FA_GetRemoteReleasePlusImage", "FA_SetProperty", "FA_FinishRemoteRelease"}));
    EXPECT_EQ(sim.Property(0, 0, 0x00000000), Le32(1));
    EXPECT_EQ(kvttest::ReadFileBytes(Dir() + "shot.tr2"), sim.ReleaseImage(0, 0));
    EXPECT_EQ(kvttest::ReadFileBytes(Dir() + "shot.jpg"), sim.ReleaseImage(0, 1));
    const int get = LogIndex("[FUNC] _GetFixedFlag");
    ASSERT_GE(get, 0);
    const int value = LogIndex("[VALU] FixedFlag - 0x00000001", get);
    ASSERT_GT(value, get);
    EXPECT_EQ(LogIndex("[FUNC] _GetFixFlag - 0", get), value + 1);
    const int set = LogIndex("[FUNC] _SetFixedFlag", get);
    ASSERT_GT(set, get);
    EXPECT_EQ(LogIndex("[VALU] FixedFlag - 0x00000401", set), set + 1);
    EXPECT_GE(LogIndex("[FUNC] _SetFixedFlag - 0", set), 0);
    EXPECT_EQ(NewLog().back(), "[KVTI] MVT_ReleaseAndTransfer - 0");
}

// A failed release or transfer does not leave the camera with bit 10 set: the saved
// flag is written back after the failure lines.
TEST_F(ReleaseAndTransfer, MvtRestoresTheFixedFlagWhenTheTransferFails) {
    struct Case {
        unsigned quality;
        std::string target;
        unsigned long code;
        const char* failure;
    } cases[] = {
        {1, "missing\\shot", 1, "[ERR!] - [FUNC] CSLRRemoteCapture::Transfer"},
        {2, "shot", 35, "[ERR!] - [FUNC] SearchImageFormat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failure);
        UseScenario(CameraScenario(c.quality));
        ASSERT_TRUE(sim.SetProperty(0, 0, 0x00000000, Le32(0x20)));
        EXPECT_EQ(MVT_ReleaseAndTransfer((Dir() + c.target).c_str()), c.code);
        EXPECT_EQ(FixedFlagWrites(), (std::vector<std::uint32_t>{0x420, 0x020}));
        EXPECT_EQ(sim.Property(0, 0, 0x00000000), Le32(0x20));
        const int at = LogIndex(c.failure);
        ASSERT_GE(at, 0);
        const int restore = LogIndex("[FUNC] _SetFixedFlag", at);
        ASSERT_GT(restore, at);
        EXPECT_EQ(LogIndex("[VALU] FixedFlag - 0x00000020", restore), restore + 1);
        EXPECT_EQ(NewLog().back(), "[KVTI] MVT_ReleaseAndTransfer - " + std::to_string(c.code));
    }
}

TEST_F(ReleaseAndTransfer, ClosedDeviceAndBadPathsAreRefusedBeforeAnyCameraCall) {
    const std::string longPath(300, 'a');
    const std::string noRoomPath(256, 'a');
    struct Case {
        const char* name;
        unsigned long opened;
        std::function<unsigned long()> call;
        unsigned long code;
        const char* failure;
    } cases[] = {
        {"closed", 0, [] { return KVT_ReleaseAndTransfer("shot"); }, 29,
         "[ERR!] OpenDevice Error."},
        {"closed S", 0, [] { return KVT_ReleaseAndTransferS("shot", 0); }, 29,
         "[ERR!] OpenDevice Error."},
        {"closed MVT", 0, [] { return MVT_ReleaseAndTransfer("shot"); }, 29,
         "[ERR!] OpenDevice Error."},
        {"null", 1, [] { return KVT_ReleaseAndTransfer(nullptr); }, 3, "[VALU] psFullPath"},
        {"null S", 1, [] { return KVT_ReleaseAndTransferS(nullptr, 0); }, 3,
         "[VALU] psFullPath"},
        {"null MVT", 1, [] { return MVT_ReleaseAndTransfer(nullptr); }, 3, "[VALU] psFullPath"},
        {"too long", 1, [&] { return KVT_ReleaseAndTransfer(longPath.c_str()); }, 3,
         "[VALU] strlen(psFullPath)"},
        {"too long MVT", 1, [&] { return MVT_ReleaseAndTransfer(longPath.c_str()); }, 3,
         "[VALU] strlen(psFullPath)"},
        // 256 characters fit MAX_PATH, but not with ".jpg" appended.
        {"no room for the extension", 1,
         [&] { return KVT_ReleaseAndTransfer(noRoomPath.c_str()); }, 3,
         "[VALU] strlen(psFullPath)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseScenario(CameraScenario(1));
        kvtq517::m_DeviceOpened = c.opened;
        EXPECT_EQ(c.call(), c.code);
        EXPECT_TRUE(Executes("").empty());
        EXPECT_GE(LogIndex(std::string("[ERR!] - ") + c.failure), 0);
    }
}

}  // namespace
