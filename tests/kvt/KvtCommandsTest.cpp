// The commands of kvt against the simulated camera of a deploy folder copy: what they
// print, the files they write and what reaches the camera, checked against TavolInfo
// and the example program where those show the same thing.
//
// GBK text: this file is compiled with the GBK execution character set, so TavolInfo's
// Chinese labels below are the GBK bytes it prints.
#include <gtest/gtest.h>

#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "common/Win32.h"
#include "tests/examples/DeployCopy.h"
#include "tests/kvt/KvtFolder.h"
#include "tests/kvt/SharedFolderTest.h"
#include "tools/common/WholeFile.h"
#include "tools/procref/ProcedureDescriptions.h"

namespace {

using kvtclitest::KvtFolder;
using kvtclitest::KvtRun;

constexpr unsigned kPropertyCount = 239;   // the plug-in's catalogue

// What follows `head` on the line that starts with it.
std::string After(const KvtRun& run, const std::string& head) {
    const std::string line = run.Line(head);
    return line.empty() ? std::string("<no line " + head + ">") : line.substr(head.size());
}

// The numbers of a text, in order.
std::vector<unsigned long> Numbers(const std::string& text, int base) {
    std::vector<unsigned long> numbers;
    std::istringstream in(text);
    in >> std::setbase(base);
    for (unsigned long n; in >> n;) {
        numbers.push_back(n);
    }
    return numbers;
}

// The camera keeps the body number as two little-endian words, the high one first.
std::string BodyNumberBytes(std::uint64_t number) {
    std::string bytes;
    for (std::uint32_t word : {static_cast<std::uint32_t>(number >> 32), static_cast<std::uint32_t>(number)}) {
        for (int i = 0; i < 4; ++i) {
            bytes += static_cast<char>((word >> (8 * i)) & 0xFF);
        }
    }
    return bytes;
}

std::string U32Bytes(std::uint32_t value) {
    return std::string{static_cast<char>(value), static_cast<char>(value >> 8),
                       static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
}

class KvtCommands : public kvtclitest::SharedFolderTest<KvtCommands> {
public:
    static constexpr const char* kPrefix = "kvt";
};

// The model decides the addresses: TavolInfo (through the camera SDK's product name)
// and kvt (through --model) read the same counters with the same formulas, and the
// body number is the one the example program reads.
TEST_F(KvtCommands, InfoShowsTheCountsOfTavolInfoAndTheBodyNumberOfTheExample) {
    s_folder->UseScenario(
        "[Cameras]\nCount = 1\n[Camera0]\nToolMode = 0xFFFFFFFF\nBodyNumber = 113245012345\n"
        "[Camera0.Memory2]\n"
        "4097 = 00 00 00 05 00 00 00 00 00 00\n"     // default shutter: 5
        "4107 = 00 01 00 03 00 00 00 00 00 00\n"     // mirror: 255 + 3
        "4117 = 00 02 09 07 00 00 00 00 00 00\n");   // group A shutter: 2 * 255 + 7
    const KvtRun tavol = s_folder->Program("TavolInfo.exe", {}, "\r\n\r\n");
    const KvtRun example = s_folder->Program("factory_example.exe", {"example-out"});
    const KvtRun info = s_folder->Kvt({"info", "--model", "Tavol OXR A05"});
    const KvtRun defaults = s_folder->Kvt({"info"});
    const KvtRun memory = s_folder->Kvt({"mem", "read", "238", "4117", "10"});

    ASSERT_EQ(info.Exit(), 0) << info.Transcript();
    EXPECT_EQ(After(tavol, "快门数："), "517") << tavol.Transcript();
    EXPECT_EQ(After(tavol, "反光板数："), "258") << tavol.Transcript();
    EXPECT_EQ(After(info, "Shutter count   "), After(tavol, "快门数："));
    EXPECT_EQ(After(info, "Mirror count    "), After(tavol, "反光板数："));
    EXPECT_EQ(After(info, "Model           "), "Tavol OXR A05 (shutter at 4117, mirror at 4107)");
    EXPECT_EQ(After(defaults, "Shutter count   "), "5") << defaults.Transcript();

    const std::string exampleBody = After(example, "  ManufactureMonth 11, Second 32, Third 4, Fourth 5, SerialNo 12345: body number ");
    EXPECT_EQ(exampleBody, "113245012345") << example.Transcript();
    EXPECT_EQ(After(info, "Body number     "),
              exampleBody + " (ManufactureMonth 11, Second 32, Third 4, Fourth 5, SerialNo 12345)");
    EXPECT_EQ(After(info, "Cameras         "), "1 (tool mode is checked with two cameras only)");
    EXPECT_EQ(After(info, "ICU firmware    "), "1.1.0 2023-10-12");
    EXPECT_EQ(After(info, "MPU             "), "23");
    EXPECT_EQ(After(info, "Factory mode    "), "no (tuning flag 0xffffffff)");

    // mem read shows the ten bytes TavolInfo reads at its shutter address.
    ASSERT_EQ(memory.Exit(), 0) << memory.Transcript();
    const std::vector<unsigned long> tavolBytes =
        Numbers(After(tavol, "[Debug]ShotAddr=4117  Data="), 10);
    const std::string dump = After(memory, "00001015  ");
    EXPECT_EQ(Numbers(dump.substr(0, dump.find('|')), 16), tavolBytes) << memory.Transcript();
    EXPECT_EQ(tavolBytes.size(), 10u) << tavol.Transcript();
}

TEST_F(KvtCommands, InfoAsJsonIsOneDocumentWithTheShippedCamerasValues) {
    const KvtRun run = s_folder->Kvt({"info", "--json"});
    ASSERT_EQ(run.Exit(), 0) << run.Transcript();
    ASSERT_EQ(run.out.size(), 1u) << run.Transcript();
    EXPECT_TRUE(kvtclitest::IsOneJsonDocument(run.process.out)) << run.process.out;
    for (const char* member : {"\"command\":\"info\"", "\"cameras\":{\"count\":1,\"toolMode\":null}",
                               "\"bodyNumber\":113245012345",
                               "\"bodyId\":{\"ManufactureMonth\":11,\"Second\":32,\"Third\":4,\"Fourth\":5,\"SerialNo\":12345}",
                               "\"icu\":\"1.1.0 2023-10-12\"", "\"mpu\":23", "\"factoryMode\":false",
                               "\"counts\":{\"shutter\":123456,\"mirror\":125001}", "\"failures\":[]",
                               "\"exitCode\":0"}) {
        EXPECT_NE(run.process.out.find(member), std::string::npos) << member << "\n" << run.process.out;
    }
}

// Every name of the plug-in, in its registration order, with what it registered.
TEST_F(KvtCommands, ProcsListsEveryRegisteredNameInOrder) {
    std::string descriptions;
    ASSERT_TRUE(kvttools::ReadWholeFile(KVT_PROCEDURE_DESCRIPTIONS, descriptions));
    std::vector<std::string> problems;
    const std::vector<procref::Description> documented =
        procref::ParseDescriptions(descriptions, "ProcedureDescriptions.txt", problems);
    ASSERT_EQ(documented.size(), 131u);

    const KvtRun run = s_folder->Kvt({"procs"});
    ASSERT_EQ(run.Exit(), 0) << run.Transcript();
    ASSERT_EQ(run.out.size(), 1u + 131u + 1u) << run.Transcript();
    for (std::size_t i = 0; i < documented.size(); ++i) {
        std::istringstream row(run.out[1 + i]);
        std::string number, name;
        row >> number >> name;
        EXPECT_EQ(number, std::to_string(i + 1));
        EXPECT_EQ(name, documented[i].name);
    }
    EXPECT_EQ(run.out.back(), "131 of 131 registered names");
    const std::string getBodyId = run.Line("23   GetBodyID ");
    EXPECT_EQ(Numbers(getBodyId.substr(5 + 36), 10), std::vector<unsigned long>{20}) << getBodyId;
    EXPECT_NE(getBodyId.find(" out       BODYID_T out"), std::string::npos) << getBodyId;
    EXPECT_NE(getBodyId.find("Pellor.q517"), std::string::npos) << getBodyId;

    const KvtRun versions = s_folder->Kvt({"procs", "get*VERSION", "--json"});
    ASSERT_EQ(versions.Exit(), 0) << versions.Transcript();
    EXPECT_TRUE(kvtclitest::IsOneJsonDocument(versions.process.out)) << versions.process.out;
    EXPECT_NE(versions.process.out.find("\"registered\":131,\"shown\":8"), std::string::npos)
        << versions.process.out;
    EXPECT_NE(versions.process.out.find("{\"number\":63,\"name\":\"GetMpuFirmwareVersion\",\"size\":0,"
                                        "\"direction\":\"none\",\"parameter\":\"u32 out\","
                                        "\"plugIn\":\"Pellor.q517\"}"),
              std::string::npos)
        << versions.process.out;
}

TEST_F(KvtCommands, RunGetBodyIdGivesTheBodyNumbersFields) {
    const KvtRun run = s_folder->Kvt({"run", "GetBodyID", "--json"});
    ASSERT_EQ(run.Exit(), 0) << run.Transcript();
    EXPECT_TRUE(kvtclitest::IsOneJsonDocument(run.process.out)) << run.process.out;
    EXPECT_NE(run.process.out.find("\"procedure\":\"GetBodyID\",\"parameter\":\"BODYID_T\","
                                   "\"direction\":\"out\",\"size\":20,\"result\":0,"
                                   "\"meaning\":\"success\",\"output\":{\"ManufactureMonth\":11,"
                                   "\"Second\":32,\"Third\":4,\"Fourth\":5,\"SerialNo\":12345}"),
              std::string::npos)
        << run.process.out;
}

// Typed values become the parameter the procedure sends to the camera.
TEST_F(KvtCommands, RunSendsTheTypedValues) {
    struct Case {
        std::vector<std::string> args;
        const char* cameraProcedure;   // the camera-side procedure that carries the value
        std::size_t parameter;         // its parameter holding it
        std::string bytes;
    };
    const Case cases[] = {
        {{"run", "SetBodyID", "ManufactureMonth=22", "Second=1", "Third=9", "Fourth=0", "SerialNo=0x1E240"},
         "FA_SetProperty", 2, BodyNumberBytes(220190123456ull)},
        {{"run", "SetAutoPowerOffTime", "0x3c"}, "FA_SetProperty", 2, U32Bytes(60)},
        {{"run", "SetOwnerName", "Service 4"}, "FA_SetProperty", 2,
         std::string("Service 4") + std::string(23, '\0')},
        {{"run", "SetABoardEepromData", "Address=10", "Count=1", "Data[10]=0x1234"},
         "FA_WriteEepromData", 1, U32Bytes(0x1234)},
        {{"run", "SetBoardInfDLResonantFrequency", "a1 22", "0304"}, "FA_WriteEepromData", 1,
         U32Bytes(0xA122)},
    };
    for (const Case& c : cases) {
        const KvtRun run = s_folder->Kvt(c.args, true);
        EXPECT_EQ(run.Exit(), 0) << c.args[1] << "\n" << run.Transcript();
        EXPECT_EQ(run.Line(c.args[1] + " = "), c.args[1] + " = 0 (success)") << run.Transcript();
        const std::vector<kvttest::SimCall> calls = kvtclitest::Executed(run, c.cameraProcedure);
        ASSERT_FALSE(calls.empty()) << c.args[1];
        ASSERT_GT(calls.front().params.size(), c.parameter) << c.args[1];
        EXPECT_EQ(calls.front().params[c.parameter].bytes, c.bytes) << c.args[1];
    }
}

// Output parameters by field, each in the form of its type.
TEST_F(KvtCommands, RunPrintsTheOutputByField) {
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> lines;   // after the result line
    };
    const Case cases[] = {
        {{"run", "GetAutoPowerOffTime"}, {"  value = 60"}},
        {{"run", "GetSensorNumber"}, {"  text = \"S5H2-0041273\""}},
        {{"run", "GetWindowsVistaUniqueID"},
         {"  bytes = 4b 56 54 00 11 32 45 01 23 45 00 00 00 00 00 00 00 00 00 01"}},
        {{"run", "GetDigitalParaAdjData"}, {"  DeltaX = -2", "  DeltaY = 3"}},
        {{"run", "GetSensorPixelPitch"}, {"  value = 4.29"}},
        {{"run", "SearchPropertyData", "szName=PROP_BODY_ID"},
         {"  szName = \"PROP_BODY_ID\"", "  ID = 16777222", "  Size = 8"}},
    };
    for (const Case& c : cases) {
        const KvtRun run = s_folder->Kvt(c.args);
        ASSERT_EQ(run.Exit(), 0) << c.args[1] << "\n" << run.Transcript();
        std::vector<std::string> expected = {c.args[1] + " = 0 (success)"};
        expected.insert(expected.end(), c.lines.begin(), c.lines.end());
        EXPECT_EQ(run.out, expected) << run.Transcript();
    }
}

TEST_F(KvtCommands, MemReadWriteAndCallUseTheMonitorSession) {
    const KvtRun json = s_folder->Kvt({"mem", "read", "0xEE", "0x1015", "10", "--json"}, true);
    ASSERT_EQ(json.Exit(), 0) << json.Transcript();
    EXPECT_NE(json.process.out.find("\"bank\":238,\"address\":4117,\"count\":10,\"bytes\":\"01e30024000000000000\""),
              std::string::npos)
        << json.process.out;
    EXPECT_EQ(kvttest::SimTrace(kvttest::SimExecutes(json.journal)),
              "MonOpen(0) MonReadAndGetData(2,4117,10) MonClose(0)");

    const KvtRun file = s_folder->Kvt({"mem", "read", "238", "4107", "4", "--out", "mirror.bin"});
    ASSERT_EQ(file.Exit(), 0) << file.Transcript();
    EXPECT_EQ(kvttest::ReadFileBytes(s_folder->Path() + "mirror.bin"), std::string("\x01\xe9\x00\x33", 4));

    const KvtRun write = s_folder->Kvt({"mem", "write", "238", "0x1F28", "a1", "23cd"}, true);
    ASSERT_EQ(write.Exit(), 0) << write.Transcript();
    EXPECT_EQ(kvttest::SimTrace(kvttest::SimExecutes(write.journal)),
              "MonOpen(0) MonWrite(2,7976,3,[a123cd]) MonClose(0)");

    const KvtRun call = s_folder->Kvt({"mem", "call", "0x76", "--bank", "0xFC"}, true);
    ASSERT_EQ(call.Exit(), 0) << call.Transcript();
    EXPECT_EQ(kvttest::SimTrace(kvttest::SimExecutes(call.journal)), "MonOpen(0) MonCall(0,118) MonClose(0)");
}

// The dump writes the files the example program's LoadPropertyData writes, byte for
// byte, and says how many it wrote; no progress reaches a pipe.
TEST_F(KvtCommands, PropDumpWritesTheFilesOfLoadPropertyData) {
    const KvtRun example = s_folder->Program("factory_example.exe", {"example-dump"});
    ASSERT_EQ(example.Exit(), 0) << example.Transcript();
    const KvtRun run = s_folder->Kvt({"props", "dump", "kvt-dump\\nested"});
    ASSERT_EQ(run.Exit(), 0) << run.Transcript();
    const std::string dumped = s_folder->Path() + "kvt-dump\\nested\\";
    EXPECT_EQ(run.out, std::vector<std::string>{"239 property files written to " + dumped});
    EXPECT_EQ(run.process.err.find("dumping"), std::string::npos) << run.process.err;

    const std::string reference = s_folder->Path() + "example-dump\\";
    ASSERT_EQ(sdktest::CountFiles(dumped, ".bin"), static_cast<int>(kPropertyCount));
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA((reference + "*.bin").c_str(), &entry);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    int compared = 0;
    do {
        const std::string name = entry.cFileName;
        EXPECT_EQ(kvttest::ReadFileBytes(dumped + name), kvttest::ReadFileBytes(reference + name)) << name;
        ++compared;
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
    EXPECT_EQ(compared, static_cast<int>(kPropertyCount));

    const KvtRun json = s_folder->Kvt({"prop", "dump", "kvt-dump-json", "--json"});
    ASSERT_EQ(json.Exit(), 0) << json.Transcript();
    EXPECT_NE(json.process.out.find("\"files\":239"), std::string::npos) << json.process.out;
}

TEST_F(KvtCommands, PropLoadAndSaveMoveOneProperty) {
    const KvtRun load = s_folder->Kvt({"prop", "load", "PROP_BODY_ID", "body.bin"});
    ASSERT_EQ(load.Exit(), 0) << load.Transcript();
    EXPECT_EQ(load.out, std::vector<std::string>{"PROP_BODY_ID: 8 bytes written to " + s_folder->Path() + "body.bin"});
    EXPECT_EQ(kvttest::ReadFileBytes(s_folder->Path() + "body.bin"), BodyNumberBytes(113245012345ull));

    ASSERT_TRUE(kvttest::WriteFileBytes(s_folder->Path() + "body.bin", BodyNumberBytes(223245054321ull)));
    const KvtRun save = s_folder->Kvt({"prop", "save", "PROP_BODY_ID", "body.bin"}, true);
    ASSERT_EQ(save.Exit(), 0) << save.Transcript();
    const std::vector<kvttest::SimCall> set = kvtclitest::Executed(save, "FA_SetProperty");
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(set[0].Param(0), 0x01000006u);
    EXPECT_EQ(set[0].params[2].bytes, BodyNumberBytes(223245054321ull));
    ASSERT_EQ(kvtclitest::Executed(save, "FA_SaveProperty").size(), 1u);
}

// The quality code decides the images; --raw sets it for one release and puts the
// camera's own back afterwards.
TEST_F(KvtCommands, ReleaseWritesTheImagesOfTheQualityCode) {
    s_folder->UseScenario("[Cameras]\nCount = 1\n[Camera0]\nToolMode = 0xFFFFFFFF\n"
                          "JpegSize = 65536\nRawSize = 131072\n");
    const KvtRun plain = s_folder->Kvt({"release", "shot"});
    ASSERT_EQ(plain.Exit(), 0) << plain.Transcript();
    EXPECT_EQ(plain.out, std::vector<std::string>{s_folder->Path() + "shot.jpg  65536 bytes"});
    EXPECT_FALSE(kvttest::FileExists(s_folder->Path() + "shot.tr2"));

    const KvtRun raw = s_folder->Kvt({"release", "both.jpg", "--raw", "--json"}, true);
    ASSERT_EQ(raw.Exit(), 0) << raw.Transcript();
    EXPECT_TRUE(kvtclitest::IsOneJsonDocument(raw.process.out)) << raw.process.out;
    EXPECT_NE(raw.process.out.find("\"export\":\"KVT_ReleaseAndTransfer\",\"quality\":7,\"images\":[{\"file\":"),
              std::string::npos)
        << raw.process.out;
    EXPECT_EQ(kvttest::ReadFileBytes(s_folder->Path() + "both.tr2").size(), 131072u);
    EXPECT_EQ(kvttest::ReadFileBytes(s_folder->Path() + "both.jpg").size(), 65536u);

    // The packed quality word: 7 for the release, 1 again after it.
    std::vector<unsigned> qualities;
    bool released = false;
    for (const kvttest::SimCall& call : kvttest::SimExecutes(raw.journal)) {
        if (call.procedure == "FA_RemoteRelease") {
            released = true;
            qualities.push_back(0);
        } else if (call.procedure == "FA_SetProperty" && call.Param(0) == 0x8000002Fu) {
            qualities.push_back(static_cast<unsigned char>(call.params[2].bytes[2]));
        }
    }
    ASSERT_TRUE(released);
    ASSERT_FALSE(qualities.empty());
    EXPECT_EQ(qualities.front(), 7u);
    EXPECT_EQ(qualities.back(), 1u);
}

TEST_F(KvtCommands, ReleaseParamsGetAndSetTheWords) {
    const KvtRun get = s_folder->Kvt({"release-params", "get"});
    ASSERT_EQ(get.Exit(), 0) << get.Transcript();
    ASSERT_EQ(get.out.size(), 21u) << get.Transcript();
    EXPECT_EQ(get.out[1], "  Word[0] = 3");
    EXPECT_EQ(get.out[10], "  Word[9] = 1");
    EXPECT_EQ(get.out[12], "  Word[11] = 129");

    const KvtRun set = s_folder->Kvt({"release-params", "set", "Word[9]=7", "--json"}, true);
    ASSERT_EQ(set.Exit(), 0) << set.Transcript();
    EXPECT_NE(set.process.out.find("\"parameters\":{\"Word\":[3,5,0,0,72,120,20,0,0,7,4,129,"),
              std::string::npos)
        << set.process.out;
    bool written = false;
    for (const kvttest::SimCall& call : kvtclitest::Executed(set, "FA_SetProperty")) {
        if (call.Param(0) == 0x8000002Fu) {
            written = true;
            EXPECT_EQ(call.params[2].bytes, std::string("\x00\x00\x07\x04", 4));
        }
    }
    EXPECT_TRUE(written);
}

TEST_F(KvtCommands, HelpOfEveryCommandHasExamples) {
    for (const char* command : {"info", "procs", "run", "mem", "prop", "release", "release-params"}) {
        const KvtRun run = s_folder->Kvt({command, "--help"});
        EXPECT_EQ(run.Exit(), 0) << command;
        EXPECT_EQ(run.out.front().compare(0, 11 + std::string(command).size(), std::string("usage: kvt ") + command), 0)
            << run.Transcript();
        EXPECT_NE(run.process.out.find("Examples:\r\n  kvt " + std::string(command)), std::string::npos)
            << run.Transcript();
    }
}

}  // namespace
