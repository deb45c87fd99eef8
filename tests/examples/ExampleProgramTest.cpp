// The example programs, as the deploy step builds them from the SDK part of the deploy
// folder, run in a copy of that folder on the simulated camera: the printed steps and
// results, and the files the factory example writes.
#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "common/Win32.h"
#include "support/TestSupport.h"
#include "tests/examples/DeployCopy.h"

namespace {

constexpr std::uint64_t kBodyNumber = 113245012345ull;   // 11-32-4-5-012345
constexpr unsigned kJpegSize = 65536;
constexpr unsigned kRawSize = 131072;
constexpr unsigned kPropertyCount = 239;                 // the plug-in's catalogue

// One camera with known identity and firmware, quality code 7 (raw and JPEG) and small
// images.
std::string Scenario() {
    std::ostringstream s;
    s << "[Cameras]\nCount = 1\n"
      << "[Camera0]\nToolMode = 0xFFFFFFFF\nBodyNumber = " << kBodyNumber << "\n"
      << "JpegSize = " << kJpegSize << "\nRawSize = " << kRawSize << "\n"
      << "[Camera0.Public]\n"
      << "0x02000001 = \"ICU 1.2.3\" pad:36\n"
      << "0x80030000 = u32:0x00000117\n"
      << "0x8000002F = 00 00 07 00\n";
    return s.str();
}

// The lines a program prints itself. The libraries write diagnostic lines of their own
// to standard output (timer restarts, plug-in discovery, procedure durations); those
// are left out.
std::vector<std::string> OwnLines(const std::string& text, const std::regex& own) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (std::regex_search(line, own)) {
            lines.push_back(line);
        }
    }
    return lines;
}

// factory_example: "<step> = <code> (<meaning>)", its own messages, indented details.
std::vector<std::string> ExampleLines(const std::string& text) {
    static const std::regex own("^([A-Za-z_]+ = [0-9]+ \\(|factory_example: |  )");
    return OwnLines(text, own);
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char b : bytes) {
        text += ' ';
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

// The camera keeps the body number as two little-endian words, the high one first.
std::string BodyNumberBytes(std::uint64_t number) {
    std::string bytes;
    for (std::uint32_t word : {static_cast<std::uint32_t>(number >> 32),
                               static_cast<std::uint32_t>(number)}) {
        for (int i = 0; i < 4; ++i) {
            bytes += static_cast<char>((word >> (8 * i)) & 0xFF);
        }
    }
    return bytes;
}

class ExampleProgram : public ::testing::Test {
protected:
    void SetUp() override {
        _folder = sdktest::CopyDeployFolder(sdktest::WindowsPath(KVT_SDK_DIST), "deploy");
        ASSERT_FALSE(_folder.empty()) << "cannot copy " << KVT_SDK_DIST;
        ASSERT_TRUE(kvttest::FileExists(_folder + "factory_example.exe"));
        ASSERT_TRUE(kvttest::WriteFileBytes(_folder + "KVTItoPTP.ini", Scenario()));
    }
    void TearDown() override {
        if (!HasFailure() && !_folder.empty()) {
            kvttest::RemoveTree(_folder);
        }
    }

    kvttest::ProcessResult Run(const std::string& program, const std::string& arguments = "") {
        std::string command = "\"" + _folder + program + "\"";
        if (!arguments.empty()) {
            command += " " + arguments;
        }
        return kvttest::RunProcess(command, _folder, std::string(), 180000);
    }

    std::string _folder;
};

TEST_F(ExampleProgram, FactoryExampleRunsEveryStepAndWritesTheFiles) {
    const std::string out = _folder + "out\\";
    const kvttest::ProcessResult run = Run("factory_example.exe", "out");
    ASSERT_TRUE(run.started);
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;

    const std::string icuBytes = std::string("ICU 1.2.3") + std::string(36 - 9, '\0');
    const std::vector<std::string> expected = {
        "factory_example: output folder " + out,
        "KVT_OpenDevice = 0 (success)",
        "GetBodyID = 0 (success)",
        "  ManufactureMonth 11, Second 32, Third 4, Fourth 5, SerialNo 12345: body number "
        "113245012345",
        "GetIcuFirmwareVersion = 0 (success)",
        "  ICU firmware:" + Hex(icuBytes),
        "GetMpuFirmwareVersion = 0 (success)",
        "  MPU firmware: 0x00000117 (version 23)",
        "KVT_SetFolderPath = 0 (success)",
        "LoadPropertyData = 0 (success)",
        "  property files in " + out,
        "KVT_ReleaseAndTransfer = 0 (success)",
        "  images beside " + out + "Release.jpg",
        "KVT_CloseDevice = 0 (success)",
        "factory_example: 8 steps, 0 failed",
    };
    EXPECT_EQ(ExampleLines(run.out), expected) << run.out;

    // LoadPropertyData: one file per catalogued property, sizes rounded up to 4.
    EXPECT_EQ(sdktest::CountFiles(out, ".bin"), static_cast<int>(kPropertyCount));
    EXPECT_EQ(kvttest::ReadFileBytes(out + "01000006.bin"), BodyNumberBytes(kBodyNumber));
    EXPECT_EQ(kvttest::ReadFileBytes(out + "01000003.bin").size(), 4u);
    EXPECT_EQ(kvttest::ReadFileBytes(out + "1f000013.bin").size(), 106908u);

    // Quality code 7: the raw image and the JPEG image.
    const std::string jpeg = kvttest::ReadFileBytes(out + "Release.jpg");
    const std::string raw = kvttest::ReadFileBytes(out + "Release.tr2");
    EXPECT_EQ(jpeg.size(), kJpegSize);
    EXPECT_EQ(raw.size(), kRawSize);
    EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(raw.substr(0, 4), std::string("II*\0", 4));
}

TEST_F(ExampleProgram, FactoryExampleStopsWhenTheDeviceDoesNotOpen) {
    ASSERT_TRUE(::DeleteFileA((_folder + "KVTItoPTP.dll").c_str()) != 0);
    const kvttest::ProcessResult run = Run("factory_example.exe", "out");
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
    const std::vector<std::string> lines = ExampleLines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    EXPECT_EQ(lines[1].compare(0, 17, "KVT_OpenDevice = "), 0) << lines[1];
    EXPECT_NE(lines[1], "KVT_OpenDevice = 0 (success)");
    EXPECT_EQ(lines[2], "factory_example: no device, nothing else to do");
    EXPECT_EQ(sdktest::CountFiles(_folder + "out\\", ".bin"), 0);
}

TEST_F(ExampleProgram, FactoryExampleRefusesAnOutputFolderWithoutRoom) {
    const std::string longName(300, 'x');
    const kvttest::ProcessResult run = Run("factory_example.exe", longName);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 2) << run.out << run.err;
    EXPECT_TRUE(ExampleLines(run.out).empty()) << run.out;
    EXPECT_NE(run.err.find("cannot use the output folder"), std::string::npos) << run.err;
}

TEST_F(ExampleProgram, CorvaneExampleReadsTheBodyNumberThroughCorvane) {
    const kvttest::ProcessResult run = Run("corvane_example.exe");
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    const std::vector<std::string> expected = {
        "OpenDevice = 0",
        "body number = 113245012345",
        "CloseDevice = 0",
    };
    static const std::regex own("^(OpenDevice|body number|CloseDevice|failed)");
    EXPECT_EQ(OwnLines(run.out, own), expected) << run.out;
}

}  // namespace
