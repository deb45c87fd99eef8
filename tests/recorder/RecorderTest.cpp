// The recorder on its own: in front of the simulated camera under bad input (every
// status and output is the target's own), in front of a library that misbehaves, the
// recording as it is written, and a recorder that cannot reach its target, as a
// factory program meets it.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/Win32.h"
#include "support/SimCamera.h"
#include "support/TestSupport.h"
#include "tests/factory_api/DeployFolder.h"
#include "tests/recorder/LoadedRecorder.h"
#include "tests/recorder/OddTransport.h"
#include "tests/recorder/Station.h"

namespace {

using kvtrecorder::TargetFunctions;
using rectest::LoadedRecorder;

std::string SimPath() {
    return kvttest::BinDir() + "KVTItoPTP.dll";
}

std::string OddPath() {
    return kvttest::BinDir() + "OddTransport.dll";
}

constexpr char kScenario[] =
    "[Cameras]\nCount = 1\n[Camera0]\nToolMode = 0xFFFFFFFF\n"
    "[Camera0.Memory2]\n4096 = 01 02 03 04 05 06 07 08 09 0a\n8192 = fill:2000:5a\n"
    "[Camera0.MemoryData]\nBlk = \"hello\"\n";

// The recorder in front of the simulated camera of build/bin, with one camera
// connected through it.
class RecorderOnSimulator : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(rec.Ok());
        ASSERT_EQ(rec.Call().Initialize(), 0u);
        sim = std::make_unique<kvttest::SimCamera>(::GetModuleHandleA(SimPath().c_str()));
        ASSERT_TRUE(sim->Ok());
        ASSERT_TRUE(sim->Load(kScenario)) << sim->Error();
        void* records = nullptr;
        unsigned count = 0;
        ASSERT_EQ(rec.Call().GetDeviceInfoArray(&records, &count), 0u);
        ASSERT_EQ(count, 1u);
        ASSERT_EQ(rec.Call().ConnectCamera(records, &handle), 0u);
    }
    // The status of the target's last call, from its journal.
    unsigned TargetStatus() const {
        const std::vector<kvttest::SimCall> journal = sim->Journal();
        return journal.empty() ? ~0u : journal.back().status;
    }
    // Runs a procedure for its return data through the recorder.
    std::string Read(std::uint32_t kind, std::uint32_t address, std::uint32_t size) {
        const TargetFunctions& t = rec.Call();
        unsigned result = 0, reported = 0, copied = 0;
        t.ClearRemoteEventProcedureParameter(handle);
        for (std::uint32_t v : {kind, address, size}) {
            t.PushRemoteEventProcedureSendParameter(handle, 2, &v, 4);
        }
        t.ExecuteRemoteEventProcedure(handle, "MonReadAndGetData", 1, &result);
        t.GetReturnDataSize(&reported);
        std::string data(reported, '\0');
        t.GetReturnDataForExecuteRemoteEventProcedure(handle, &data[0], reported, &copied);
        data.resize(copied);
        return data;
    }

    LoadedRecorder rec{SimPath()};
    std::unique_ptr<kvttest::SimCamera> sim;
    unsigned handle = 0;
};

struct BadCall {
    const char* name;
    const char* function;
    std::function<unsigned(const TargetFunctions&, unsigned handle)> call;
    const char* key;    // a key of the recorded line, "" for none
    const char* value;  // its value; "-" when the key must be absent
};

TEST_F(RecorderOnSimulator, BadInputGetsTheTargetsOwnStatus) {
    static unsigned char foreign[kDeviceInfoRecordSize] = {};
    static unsigned char buffer[16] = {};
    static unsigned out = 0;
    static void* array = nullptr;
    static const std::string longName(300, 'n');
    const BadCall cases[] = {
        {"enumerate without the array", "k2pGetDeviceInfoArray",
         [](const TargetFunctions& t, unsigned) { return t.GetDeviceInfoArray(nullptr, &out); },
         "records", "null"},
        {"enumerate without the count", "k2pGetDeviceInfoArray",
         [](const TargetFunctions& t, unsigned) { return t.GetDeviceInfoArray(&array, nullptr); },
         "count", "null"},
        {"connect no record", "k2pConnectCamera",
         [](const TargetFunctions& t, unsigned) { return t.ConnectCamera(nullptr, &out); },
         "record", "null"},
        {"connect a foreign record", "k2pConnectCamera",
         [](const TargetFunctions& t, unsigned) { return t.ConnectCamera(foreign, &out); },
         "record", "other"},
        {"clear an unknown handle", "k2pClearRemoteEventProcedureParameter",
         [](const TargetFunctions& t, unsigned) {
             return t.ClearRemoteEventProcedureParameter(0xDEAD);
         },
         "h", "0x0000dead"},
        {"push a bad type", "k2pPushRemoteEventProcedureSendParameter",
         [](const TargetFunctions& t, unsigned h) {
             return t.PushRemoteEventProcedureSendParameter(h, 9, &out, 4);
         },
         "data", "-"},
        {"push a bad size", "k2pPushRemoteEventProcedureSendParameter",
         [](const TargetFunctions& t, unsigned h) {
             return t.PushRemoteEventProcedureSendParameter(h, 2, &out, 3);
         },
         "size", "3"},
        {"push no data", "k2pPushRemoteEventProcedureSendParameter",
         [](const TargetFunctions& t, unsigned h) {
             return t.PushRemoteEventProcedureSendParameter(h, 4, nullptr, 10);
         },
         "data", "null"},
        {"push an oversized block from nowhere", "k2pPushRemoteEventProcedureSendParameter",
         [](const TargetFunctions& t, unsigned h) {
             return t.PushRemoteEventProcedureSendParameter(h, 4, reinterpret_cast<void*>(16),
                                                            0x7FFFFFFF);
         },
         "data", "-"},
        {"execute no name", "k2pExecuteRemoteEventProcedure",
         [](const TargetFunctions& t, unsigned h) {
             return t.ExecuteRemoteEventProcedure(h, nullptr, 0, &out);
         },
         "proc", "(null)"},
        {"execute a long name", "k2pExecuteRemoteEventProcedure",
         [](const TargetFunctions& t, unsigned h) {
             return t.ExecuteRemoteEventProcedure(h, longName.c_str(), 0, &out);
         },
         "proc", nullptr},
        {"execute with a bad flag", "k2pExecuteRemoteEventProcedure",
         [](const TargetFunctions& t, unsigned h) {
             return t.ExecuteRemoteEventProcedure(h, "MonOpen", 7, &out);
         },
         "flag", "7"},
        {"execute an unknown procedure with blanks", "k2pExecuteRemoteEventProcedure",
         [](const TargetFunctions& t, unsigned h) {
             return t.ExecuteRemoteEventProcedure(h, "no such", 0, &out);
         },
         "proc", "no%20such"},
        {"execute without a result", "k2pExecuteRemoteEventProcedure",
         [](const TargetFunctions& t, unsigned h) {
             return t.ExecuteRemoteEventProcedure(h, "MonOpen", 0, nullptr);
         },
         "res", "null"},
        {"execute on an unknown handle into an unreadable result", "k2pExecuteRemoteEventProcedure",
         [](const TargetFunctions& t, unsigned) {
             return t.ExecuteRemoteEventProcedure(0xDEAD, "MonOpen", 0,
                                                  reinterpret_cast<unsigned*>(16));
         },
         "res", "-"},
        {"return data size without a pointer", "k2pGetReturnDataSize",
         [](const TargetFunctions& t, unsigned) { return t.GetReturnDataSize(nullptr); }, "size",
         "null"},
        {"return data into no buffer", "k2pGetReturnDataForExecuteRemoteEventProcedure",
         [](const TargetFunctions& t, unsigned h) {
             return t.GetReturnDataForExecuteRemoteEventProcedure(h, nullptr, 10, &out);
         },
         "data", "null"},
        {"return data without a count", "k2pGetReturnDataForExecuteRemoteEventProcedure",
         [](const TargetFunctions& t, unsigned h) {
             return t.GetReturnDataForExecuteRemoteEventProcedure(h, buffer, 10, nullptr);
         },
         "copied", "null"},
        {"memory data size of no name", "k2pGetSizeOfMemoryData",
         [](const TargetFunctions& t, unsigned h) {
             return t.GetSizeOfMemoryData(h, nullptr, &out);
         },
         "block", "(null)"},
        {"memory data size of an unknown block", "k2pGetSizeOfMemoryData",
         [](const TargetFunctions& t, unsigned h) {
             return t.GetSizeOfMemoryData(h, "NoSuchBlock", &out);
         },
         "block", "NoSuchBlock"},
        {"memory data without a size query", "k2pExecuteGetMemoryData",
         [](const TargetFunctions& t, unsigned h) {
             return t.ExecuteGetMemoryData(h, buffer, 10, &out);
         },
         "data", "-"},
        {"memory data into no buffer", "k2pExecuteGetMemoryData",
         [](const TargetFunctions& t, unsigned h) {
             return t.ExecuteGetMemoryData(h, nullptr, 10, &out);
         },
         "data", "null"},
    };
    for (const BadCall& c : cases) {
        SCOPED_TRACE(c.name);
        const unsigned status = c.call(rec.Call(), handle);
        EXPECT_NE(status, 0u);
        EXPECT_EQ(status, TargetStatus());
        const kvtrec::CallLine line = rec.Last();
        EXPECT_EQ(line.function, c.function);
        EXPECT_EQ(line.Get("st"), std::to_string(status));
        if (c.value == nullptr) {
            EXPECT_EQ(line.Get(c.key), std::string(kvtrec::kMaxNameLength, 'n'));
        } else if (std::string(c.value) == "-") {
            EXPECT_FALSE(line.Has(c.key)) << line.Text();
        } else {
            EXPECT_EQ(line.Get(c.key), c.value) << line.Text();
        }
    }
}

TEST_F(RecorderOnSimulator, DataAndOutputsAreTheTargetsAndOnDiskAtOnce) {
    const std::size_t before = rec.Calls().size();
    EXPECT_EQ(Read(2, 4096, 10), std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a"));
    // Clear, three pushes, execute, size, data: each on disk when its call returned.
    std::vector<kvtrec::CallLine> calls = rec.Calls();
    ASSERT_EQ(calls.size(), before + 7);
    EXPECT_EQ(
        calls[before + 1].Text().substr(calls[before + 1].Text().find(' ') + 1),
        "k2pPushRemoteEventProcedureSendParameter h=0x00010517 type=2 size=4 data=02000000 st=0");
    EXPECT_EQ(calls[before + 4].Get("proc"), "MonReadAndGetData");
    EXPECT_EQ(calls[before + 4].Get("flag"), "1");
    EXPECT_EQ(calls[before + 5].Get("size"), "10");
    EXPECT_EQ(calls.back().Get("data"), "0102030405060708090a");
    EXPECT_EQ(calls.back().Get("copied"), "10");

    // A block of more than 1024 bytes goes to a file named from the recording.
    EXPECT_EQ(Read(2, 8192, 2000), std::string(2000, 'Z'));
    const kvtrec::CallLine last = rec.Last();
    const std::string file = "test.rec." + std::to_string(last.number) + ".bin";
    EXPECT_EQ(last.Get("data"), "file:" + file);
    EXPECT_EQ(kvttest::ReadFileBytes(rec.Folder() + file), std::string(2000, 'Z'));

    // A named memory-data block.
    unsigned size = 0, read = 0;
    char block[8] = {};
    ASSERT_EQ(rec.Call().GetSizeOfMemoryData(handle, "Blk", &size), 0u);
    ASSERT_EQ(rec.Call().ExecuteGetMemoryData(handle, block, sizeof(block), &read), 0u);
    EXPECT_EQ(std::string(block, read), "hello");
    EXPECT_EQ(rec.Last().Text().substr(rec.Last().Text().find(' ') + 1),
              "k2pExecuteGetMemoryData h=0x00010517 size=8 read=5 data=68656c6c6f st=0");
}

struct OddCase {
    const char* name;
    OddMode mode;
    std::function<void(const TargetFunctions&, const LoadedRecorder&)> check;
};

TEST(RecorderOnOddTarget, StatusesAndShortDataPassThroughAndNothingFaults) {
    const OddCase cases[] = {
        {"every function fails", OddMode::Failing,
         [](const TargetFunctions& t, const LoadedRecorder& rec) {
             void* array = nullptr;
             unsigned out = 0x55, h = 1;
             char buffer[4];
             const unsigned statuses[] = {
                 t.Terminate(),
                 t.GetDeviceInfoArray(&array, &out),
                 t.ConnectCamera(&out, &out),
                 t.ClearRemoteEventProcedureParameter(h),
                 t.PushRemoteEventProcedureSendParameter(h, 2, &out, 4),
                 t.ExecuteRemoteEventProcedure(h, "MonOpen", 0, &out),
                 t.GetReturnDataSize(&out),
                 t.GetReturnDataForExecuteRemoteEventProcedure(h, buffer, 4, &out),
                 t.GetSizeOfMemoryData(h, "Blk", &out),
                 t.ExecuteGetMemoryData(h, buffer, 4, &out)};
             for (unsigned st : statuses) {
                 EXPECT_EQ(st, kOddStatus);
             }
             const std::vector<kvtrec::CallLine> calls = rec.Calls();
             ASSERT_EQ(calls.size(), 11u);
             for (const kvtrec::CallLine& c : calls) {
                 EXPECT_EQ(c.Get("st"), std::to_string(kOddStatus)) << c.Text();
                 EXPECT_FALSE(c.Has("data")) << c.Text();
             }
         }},
        {"short and overclaimed data", OddMode::ShortData,
         [](const TargetFunctions& t, const LoadedRecorder& rec) {
             char buffer[10];
             std::memset(buffer, 0x11, sizeof(buffer));
             unsigned copied = 0;
             EXPECT_EQ(t.GetReturnDataForExecuteRemoteEventProcedure(1, buffer, 10, &copied), 0u);
             EXPECT_EQ(copied, 3u);
             EXPECT_EQ(std::string(buffer, 10), "\xAB\xAB\xAB\x11\x11\x11\x11\x11\x11\x11");
             EXPECT_EQ(rec.Last().Get("data"), "ababab");
             unsigned read = 0;
             EXPECT_EQ(t.ExecuteGetMemoryData(1, buffer, 10, &read), 0u);
             EXPECT_EQ(read, 110u);
             EXPECT_EQ(rec.Last().Get("read"), "110");
             EXPECT_EQ(rec.Last().Get("data"), "cdcdcdcdcdcdcdcdcdcd");
         }},
        {"device records at an unreadable address", OddMode::BadArray,
         [](const TargetFunctions& t, const LoadedRecorder& rec) {
             void* array = nullptr;
             unsigned count = 0, h = 0;
             EXPECT_EQ(t.GetDeviceInfoArray(&array, &count), 0u);
             EXPECT_EQ(array, reinterpret_cast<void*>(16));
             EXPECT_EQ(rec.Last().Get("count"), "2");
             EXPECT_FALSE(rec.Last().Has("records"));
             // Its second record, by position only.
             EXPECT_EQ(t.ConnectCamera(static_cast<char*>(array) + kDeviceInfoRecordSize, &h),
                       kOddStatus);
             EXPECT_EQ(rec.Last().Get("record"), "1");
         }},
        {"device records at a null address", OddMode::NullArray,
         [](const TargetFunctions& t, const LoadedRecorder& rec) {
             void* array = &array;
             unsigned count = 0;
             EXPECT_EQ(t.GetDeviceInfoArray(&array, &count), 0u);
             EXPECT_EQ(array, nullptr);
             EXPECT_FALSE(rec.Last().Has("records"));
         }},
        {"too many device records", OddMode::HugeCount,
         [](const TargetFunctions& t, const LoadedRecorder& rec) {
             void* array = nullptr;
             unsigned count = 0;
             EXPECT_EQ(t.GetDeviceInfoArray(&array, &count), 0u);
             EXPECT_EQ(count, 100000u);
             EXPECT_EQ(rec.Last().Get("count"), "100000");
             EXPECT_FALSE(rec.Last().Has("records"));
         }},
        {"unreadable arguments a lazy target accepts", OddMode::Lazy,
         [](const TargetFunctions& t, const LoadedRecorder& rec) {
             void* nowhere = reinterpret_cast<void*>(16);
             unsigned* out = reinterpret_cast<unsigned*>(16);
             const char* name = reinterpret_cast<const char*>(16);
             EXPECT_EQ(t.PushRemoteEventProcedureSendParameter(1, 4, nowhere, 10), 0u);
             EXPECT_FALSE(rec.Last().Has("data"));
             EXPECT_EQ(t.PushRemoteEventProcedureSendParameter(1, 4, nowhere, 5000), 0u);
             EXPECT_FALSE(rec.Last().Has("data"));
             EXPECT_FALSE(kvttest::FileExists(rec.Folder() + "test.rec." +
                                              std::to_string(rec.Last().number) + ".bin"));
             EXPECT_EQ(t.ExecuteRemoteEventProcedure(1, name, 1, out), 0u);
             EXPECT_FALSE(rec.Last().Has("proc"));
             EXPECT_FALSE(rec.Last().Has("res"));
             EXPECT_EQ(t.GetReturnDataForExecuteRemoteEventProcedure(1, nowhere, 10, out), 0u);
             EXPECT_FALSE(rec.Last().Has("copied"));
             EXPECT_FALSE(rec.Last().Has("data"));
             EXPECT_EQ(t.GetSizeOfMemoryData(1, name, out), 0u);
             EXPECT_EQ(t.GetDeviceInfoArray(reinterpret_cast<void**>(16), out), 0u);
             EXPECT_EQ(t.ConnectCamera(nowhere, out), 0u);
             EXPECT_EQ(rec.Last().Get("record"), "other");
         }},
    };
    for (const OddCase& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedRecorder rec(OddPath());
        ASSERT_TRUE(rec.Ok());
        EXPECT_EQ(rec.Call().Initialize(), kOddStatus);  // the first mode: failing
        auto setMode = reinterpret_cast<odd_SetMode_t>(reinterpret_cast<void (*)()>(
            ::GetProcAddress(::GetModuleHandleA(OddPath().c_str()), "odd_SetMode")));
        ASSERT_NE(setMode, nullptr);
        setMode(static_cast<unsigned>(c.mode));
        c.check(rec.Call(), rec);
    }
}

TEST(RecordingFile, AnExistingRecordingIsKeptAndTheNextNameTaken) {
    LoadedRecorder rec(SimPath());
    ASSERT_TRUE(rec.Ok());
    ASSERT_TRUE(kvttest::WriteFileBytes(rec.Folder() + "test.rec", "earlier"));
    ASSERT_EQ(rec.Call().Initialize(), 0u);
    EXPECT_EQ(kvttest::ReadFileBytes(rec.Folder() + "test.rec"), "earlier");
    const std::vector<std::string> lines =
        kvttest::SplitLines(kvttest::ReadFileBytes(rec.Folder() + "test-2.rec"));
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], kvtrec::kHeader);
    EXPECT_EQ(lines[1], "# target: " + SimPath());
    EXPECT_EQ(lines.back(), "1 k2pInitialize st=0");
}

TEST(RecordingFile, CallsMadeBeforeAnAbnormalEndAreAllRecorded) {
    LoadedRecorder prepared(SimPath());  // only its folder: the child loads its own copy
    const kvttest::ProcessResult run =
        kvttest::RunProcess("\"" + kvttest::BinDir() + "recorder_abort_child.exe\" \"" +
                                prepared.Folder() + "KVTItoPTP.dll\"",
                            prepared.Folder());
    EXPECT_EQ(run.exitCode, 7) << run.out << run.err;
    std::string functions;
    for (const kvtrec::CallLine& c : prepared.Calls()) {
        functions += c.function + "=" + c.Get("st") + " ";
    }
    EXPECT_EQ(functions,
              "k2pInitialize=0 k2pGetDeviceInfoArray=0 k2pConnectCamera=0 "
              "k2pClearRemoteEventProcedureParameter=0 k2pPushRemoteEventProcedureSendParameter=0 "
              "k2pExecuteRemoteEventProcedure=0 ");
}

// ---- A recorder that cannot reach its target, seen from a factory program ---------

struct SetUpCase {
    const char* name;
    std::string ini;  // KVTRecorder.ini, "" for none
    unsigned status;
    std::string message;  // on standard error
};

TEST(RecorderSetUp, AnUnreachableTargetFailsTheOpenWithItsMessage) {
    const std::string ini = "[Recorder]\r\nRecording = session.rec\r\nTarget = ";
    const SetUpCase cases[] = {
        {"no configuration", "", 201, "KVTRecorder.ini"},
        {"no target named", "[Recorder]\r\nRecording = session.rec\r\n", 201, "names no Target"},
        {"target missing", ini + "absent.dll\r\n", 203, "cannot load the target library"},
        {"target lacks a function", ini + "KVTItoPTP_no_k2pExecuteGetMemoryData.dll\r\n", 205,
         "has no k2pExecuteGetMemoryData"},
        {"target is the recorder", ini + "KVTItoPTP.dll\r\n", 209, "is the recorder itself"},
        {"recording cannot be made",
         "[Recorder]\r\nTarget = real\\KVTItoPTP.dll\r\n"
         "Recording = absent\\session.rec\r\n",
         207, "cannot create the recording"},
        {"all in place", ini + "real\\KVTItoPTP.dll\r\n", 0, ""},
    };
    for (const SetUpCase& c : cases) {
        SCOPED_TRACE(c.name);
        kvtq517test::DeployFolder folder = kvtq517test::ReadyFolder("setup");
        folder.WithCamera();
        const std::string& dir = folder.Path();
        ASSERT_TRUE(::CreateDirectoryA((dir + "real").c_str(), nullptr));
        ASSERT_TRUE(
            ::MoveFileA((dir + "KVTItoPTP.dll").c_str(), (dir + "real\\KVTItoPTP.dll").c_str()));
        ASSERT_TRUE(
            ::MoveFileA((dir + "KVTItoPTP.ini").c_str(), (dir + "real\\KVTItoPTP.ini").c_str()));
        ASSERT_TRUE(kvttest::CopyFileTo(kvttest::BinDir() + "recorder\\KVTItoPTP.dll",
                                        dir + "KVTItoPTP.dll"));
        ASSERT_TRUE(
            kvttest::CopyFileTo(kvttest::BinDir() + "KVTItoPTP_no_k2pExecuteGetMemoryData.dll",
                                dir + "KVTItoPTP_no_k2pExecuteGetMemoryData.dll"));
        if (!c.ini.empty()) {
            ASSERT_TRUE(kvttest::WriteFileBytes(dir + "KVTRecorder.ini", c.ini));
        }
        const kvtq517test::DriverRun run = folder.Run({"open", "close"});
        if (c.status == 0) {
            EXPECT_EQ(run.Code("open"), 0u) << run.process.err;
            EXPECT_TRUE(run.process.err.empty()) << run.process.err;
            EXPECT_GT(rectest::RecordingLines(dir + "session.rec").size(), 3u);
            continue;
        }
        EXPECT_NE(run.Code("open"), 0u);
        EXPECT_TRUE(run.HasLog("[ERR!] - [FUNC] _pImpl->_k2pInitiaize")) << run.process.out;
        EXPECT_NE(run.process.err.find("KVTItoPTP recorder: "), std::string::npos)
            << run.process.err;
        EXPECT_NE(run.process.err.find(c.message), std::string::npos) << run.process.err;
        EXPECT_NE(run.process.err.find("(status " + std::to_string(c.status) + ")"),
                  std::string::npos)
            << run.process.err;
        EXPECT_FALSE(kvttest::FileExists(dir + "session.rec"));
    }
}

}  // namespace
