// The simulated camera SDK, called in process through its ordinal-only import library:
// what the scenario file sets, and that bad input gives a status instead of a crash.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "VxSdk.h"
#include "common/Win32.h"
#include "support/TestSupport.h"

namespace {

class VxSdk : public ::testing::Test {
protected:
    void TearDown() override {
        VxsFinish();
        ::SetEnvironmentVariableA("VXSDK_SCENARIO", nullptr);
    }

    // Starts the SDK with this scenario file content.
    VxsStatus Start(const std::string& ini) {
        std::string path = kvttest::CurrentDir() + "scenario.ini";
        EXPECT_TRUE(kvttest::WriteFileBytes(path, ini));
        ::SetEnvironmentVariableA("VXSDK_SCENARIO", "scenario.ini");  // relative: made absolute
        return VxsBegin();
    }

    // The first camera with an open session.
    void OpenCamera() {
        ASSERT_EQ(VxsListCameras(&_list), VXS_OK);
        ASSERT_EQ(VxsItemAt(_list, 0, &_camera), VXS_OK);
        ASSERT_EQ(VxsSessionOpen(_camera), VXS_OK);
    }

    std::string Text(std::uint32_t property) {
        std::uint32_t type = 0, size = 0;
        EXPECT_EQ(VxsValueSize(_camera, property, 0, &type, &size), VXS_OK);
        EXPECT_EQ(type, VXS_TYPE_TEXT);
        std::string value(size, '#');
        EXPECT_EQ(VxsValueRead(_camera, property, 0, size, &value[0]), VXS_OK);
        EXPECT_EQ(value.back(), '\0');  // the size counts the terminating zero
        value.pop_back();
        return value;
    }

    VxsRef _list = nullptr;
    VxsRef _camera = nullptr;
};

TEST_F(VxSdk, ReportsTheScenarioCamera) {
    ASSERT_EQ(Start("[Camera]\r\nProductName=Tavol OXR S02\r\nBodyNumber=77\r\n"
                    "Firmware=9.9.9\r\nLens=none\r\n"),
              VXS_OK);
    OpenCamera();
    EXPECT_EQ(Text(VXS_PROP_PRODUCT_NAME), "Tavol OXR S02");
    EXPECT_EQ(Text(VXS_PROP_BODY_NUMBER), "77");
    EXPECT_EQ(Text(VXS_PROP_FIRMWARE), "9.9.9");
    EXPECT_EQ(Text(VXS_PROP_LENS), "none");
}

TEST_F(VxSdk, MissingKeysAndFilesGiveTheDefaultCamera) {
    ASSERT_EQ(Start("[Camera]\r\nFirmware=2.0\r\n"), VXS_OK);
    OpenCamera();
    EXPECT_EQ(Text(VXS_PROP_PRODUCT_NAME), "Tavol OXR A05");
    EXPECT_EQ(Text(VXS_PROP_FIRMWARE), "2.0");
    EXPECT_FALSE(Text(VXS_PROP_BODY_NUMBER).empty());
    EXPECT_FALSE(Text(VXS_PROP_LENS).empty());
    VxsFinish();

    ::SetEnvironmentVariableA("VXSDK_SCENARIO", "no-such-scenario.ini");
    ASSERT_EQ(VxsBegin(), VXS_OK);
    OpenCamera();
    EXPECT_EQ(Text(VXS_PROP_PRODUCT_NAME), "Tavol OXR A05");
}

TEST_F(VxSdk, StretchesAValueToItsLength) {
    ASSERT_EQ(Start("[Camera]\r\nLens=ab\r\nLensLength=5\r\nBodyNumberLength=300\r\n"), VXS_OK);
    OpenCamera();
    EXPECT_EQ(Text(VXS_PROP_LENS), "ababa");
    EXPECT_EQ(Text(VXS_PROP_BODY_NUMBER).size(), 300u);

    // A smaller read size gives the value's first bytes and writes nothing beyond.
    char buf[8];
    std::memset(buf, '#', sizeof(buf));
    EXPECT_EQ(VxsValueRead(_camera, VXS_PROP_LENS, 0, 3, buf), VXS_OK);
    EXPECT_EQ(std::string(buf, sizeof(buf)), "aba#####");
}

TEST_F(VxSdk, ScriptedFailuresAndAbsentCamera) {
    EXPECT_EQ(Start("[Fail]\r\nStartUp=1\r\n"), VXS_ERR_STARTUP_FAILED);
    EXPECT_EQ(VxsListCameras(&_list), VXS_ERR_NOT_STARTED);

    ASSERT_EQ(Start("[Camera]\r\nPresent=0\r\n"), VXS_OK);
    ASSERT_EQ(VxsListCameras(&_list), VXS_OK);
    std::uint32_t count = 99;
    EXPECT_EQ(VxsItemCount(_list, &count), VXS_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(VxsItemAt(_list, 0, &_camera), VXS_ERR_OUT_OF_RANGE);
    EXPECT_EQ(_camera, nullptr);
    VxsFinish();

    ASSERT_EQ(Start("[Fail]\r\nOpenSession=1\r\n"), VXS_OK);
    ASSERT_EQ(VxsListCameras(&_list), VXS_OK);
    ASSERT_EQ(VxsItemAt(_list, 0, &_camera), VXS_OK);
    EXPECT_EQ(VxsSessionOpen(_camera), VXS_ERR_SESSION_FAILED);
    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(VxsValueSize(_camera, VXS_PROP_PRODUCT_NAME, 0, &type, &size), VXS_ERR_NO_SESSION);
}

TEST_F(VxSdk, BadInputGivesAStatus) {
    ASSERT_EQ(Start(""), VXS_OK);
    OpenCamera();
    VxsRef bogus = reinterpret_cast<VxsRef>(static_cast<std::uintptr_t>(0x1234));
    std::uint32_t u = 0;
    char buf[4];
    VxsRef ref = nullptr;
    const struct {
        const char* call;
        VxsStatus status;
        VxsStatus expected;
    } cases[] = {
        {"list, null out", VxsListCameras(nullptr), VXS_ERR_BAD_POINTER},
        {"count, null out", VxsItemCount(_list, nullptr), VXS_ERR_BAD_POINTER},
        {"count, unknown list", VxsItemCount(bogus, &u), VXS_ERR_BAD_REFERENCE},
        {"count, camera as list", VxsItemCount(_camera, &u), VXS_ERR_BAD_REFERENCE},
        {"child, null out", VxsItemAt(_list, 0, nullptr), VXS_ERR_BAD_POINTER},
        {"child, negative index", VxsItemAt(_list, -1, &ref), VXS_ERR_OUT_OF_RANGE},
        {"child, index 1", VxsItemAt(_list, 1, &ref), VXS_ERR_OUT_OF_RANGE},
        {"child, null list", VxsItemAt(nullptr, 0, &ref), VXS_ERR_BAD_REFERENCE},
        {"size, null type", VxsValueSize(_camera, 2, 0, nullptr, &u), VXS_ERR_BAD_POINTER},
        {"size, null size", VxsValueSize(_camera, 2, 0, &u, nullptr), VXS_ERR_BAD_POINTER},
        {"size, unknown property", VxsValueSize(_camera, 3, 0, &u, &u), VXS_ERR_UNKNOWN_PROPERTY},
        {"size, list as camera", VxsValueSize(_list, 2, 0, &u, &u), VXS_ERR_BAD_REFERENCE},
        {"read, null buffer", VxsValueRead(_camera, 2, 0, 4, nullptr), VXS_ERR_BAD_POINTER},
        {"read, unknown property", VxsValueRead(_camera, 0, 0, 4, buf), VXS_ERR_UNKNOWN_PROPERTY},
        {"read, unknown camera", VxsValueRead(bogus, 2, 0, 4, buf), VXS_ERR_BAD_REFERENCE},
        {"open, unknown camera", VxsSessionOpen(bogus), VXS_ERR_BAD_REFERENCE},
        {"close, unknown camera", VxsSessionClose(bogus), VXS_ERR_BAD_REFERENCE},
        {"drop, unknown", VxsDropRef(bogus), VXS_ERR_BAD_REFERENCE},
        {"drop, null", VxsDropRef(nullptr), VXS_ERR_BAD_REFERENCE},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.status, c.expected) << c.call;
    }
    EXPECT_EQ(ref, nullptr);
}

TEST_F(VxSdk, ReferenceLifetimes) {
    ASSERT_EQ(Start(""), VXS_OK);
    OpenCamera();
    // The console tool's order: references first, then the session. The open session
    // keeps the camera alive until it is closed.
    EXPECT_EQ(VxsDropRef(_camera), VXS_OK);
    EXPECT_EQ(VxsDropRef(_list), VXS_OK);
    EXPECT_EQ(VxsSessionClose(_camera), VXS_OK);
    // Now both are gone.
    EXPECT_EQ(VxsSessionClose(_camera), VXS_ERR_BAD_REFERENCE);
    EXPECT_EQ(VxsDropRef(_list), VXS_ERR_BAD_REFERENCE);

    // Ending the SDK forgets every reference; calls after it are refused.
    OpenCamera();
    EXPECT_EQ(VxsFinish(), VXS_OK);
    EXPECT_EQ(VxsFinish(), VXS_ERR_NOT_STARTED);
    std::uint32_t u = 0;
    EXPECT_EQ(VxsItemCount(_list, &u), VXS_ERR_NOT_STARTED);
    ASSERT_EQ(VxsBegin(), VXS_OK);
    EXPECT_EQ(VxsItemCount(_list, &u), VXS_ERR_BAD_REFERENCE);
    EXPECT_EQ(VxsSessionClose(_camera), VXS_ERR_BAD_REFERENCE);
}

}  // namespace
