// Benchmark of KVT_ReleaseAndTransfer against writing the same bytes directly.
//
// Run it with wine64 from any folder: it lays out a deploy-like folder there (the
// library as "oxrmsg.dll", Corvane.dll, the simulated camera, a plug-in that lets the
// library initialise), copies itself into it and runs itself there as a child, which
// opens the device, gives the camera a raw image of 30 MB and a JPEG image of 10 MB
// (fixed bytes, so the simulator spends no time making them), and then times
//   - KVT_ReleaseAndTransfer: quality code 7, the raw and the JPEG file, and
//   - the same bytes written directly to two files (CreateFile, one WriteFile each).
// It prints the median of each over several rounds and their ratio, and the first round
// apart: it also pays for the first touch of the capture's receive buffer.
//
// With "--recorder" it compares KVT_ReleaseAndTransfer of one raw image of 40 MB (quality
// code 6) through the transport recorder (in front of the simulated camera, writing its
// recording) with the same on the bare simulated camera, each in a folder of its own,
// and shows the replay of that recording and one plain write of the image beside them.
//
//   release_bench [rounds] [keep]   (default 11 rounds; "keep" leaves the folder and its
//                                   KvtDll.log, whose [TIME] lines break the time down)
//   release_bench --recorder [rounds] [keep]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/Handles.h"
#include "common/Win32.h"
#include "factory_api/DeployFolder.h"
#include "include/kvt_factory.h"
#include "simulator/camera/SimControl.h"
#include "support/TestSupport.h"

namespace {

constexpr unsigned kRawBytes = 30u * 1024 * 1024;
constexpr unsigned kJpegBytes = 10u * 1024 * 1024;
constexpr unsigned kRecordedRawBytes = 40u * 1024 * 1024;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A deterministic pattern of the given size.
std::string Pattern(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    unsigned x = seed;
    for (char& c : bytes) {
        x = x * 1664525u + 1013904223u;
        c = static_cast<char>(x >> 24);
    }
    return bytes;
}

bool WriteDirect(const std::string& path, const std::string& bytes) {
    kvt::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                               &written, nullptr) &&
           written == bytes.size();
}

template <class Fn>
Fn Bind(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

int Measure(int rounds) {
    HMODULE library = ::LoadLibraryA("oxrmsg.dll");
    if (library == nullptr) {
        std::printf("cannot load oxrmsg.dll (%lu)\n", ::GetLastError());
        return 2;
    }
    auto open = Bind<decltype(&KVT_OpenDevice)>(library, "KVT_OpenDevice");
    auto transfer = Bind<decltype(&KVT_ReleaseAndTransfer)>(library, "KVT_ReleaseAndTransfer");
    if (open == nullptr || transfer == nullptr || open() != 0) {
        std::printf("KVT_OpenDevice failed\n");
        return 3;
    }
    HMODULE camera = ::GetModuleHandleA("KVTItoPTP.dll");
    auto apply = Bind<kvtsim_ApplyScenarioText_t>(camera, "kvtsim_ApplyScenarioText");
    if (apply == nullptr) {
        std::printf("the simulated camera is not loaded\n");
        return 4;
    }
    const std::string raw = Pattern(kRawBytes, 1);
    const std::string jpeg = Pattern(kJpegBytes, 2);
    kvttest::WriteFileBytes("raw.bin", raw);
    kvttest::WriteFileBytes("jpeg.bin", jpeg);
    const std::string scenario = "[Camera0]\nRaw = file:" + kvttest::CurrentDir() +
                                 "raw.bin\nJpeg = file:" + kvttest::CurrentDir() +
                                 "jpeg.bin\n[Camera0.Public]\n0x8000002F = 00 00 07 04\n";
    if (apply(scenario.c_str()) != 0) {
        std::printf("scenario refused\n");
        return 5;
    }

    std::vector<double> product, direct;
    double firstProduct = 0, firstDirect = 0;
    // The two measurements alternate in order, so that neither always runs behind the
    // other's write-back.
    for (int round = 0; round <= rounds; ++round) {   // round 0 warms up
        double productMs = 0, directMs = 0;
        for (int part = 0; part < 2; ++part) {
            const bool productNow = (part == 0) == (round % 2 == 0);
            const double start = kvttest::Milliseconds();
            if (productNow) {
                const unsigned long result = transfer("shot");
                productMs = kvttest::Milliseconds() - start;
                if (result != 0) {
                    std::printf("KVT_ReleaseAndTransfer returned %lu\n", result);
                    return 6;
                }
            } else {
                const bool ok = WriteDirect("direct.tr2", raw) && WriteDirect("direct.jpg", jpeg);
                directMs = kvttest::Milliseconds() - start;
                if (!ok) {
                    std::printf("direct write failed\n");
                    return 7;
                }
            }
        }
        if (round > 0) {
            product.push_back(productMs);
            direct.push_back(directMs);
        } else {
            firstProduct = productMs;
            firstDirect = directMs;
        }
    }
    if (kvttest::ReadFileBytes("shot.tr2") != raw || kvttest::ReadFileBytes("shot.jpg") != jpeg) {
        std::printf("the transferred files differ from the camera's images\n");
        return 8;
    }
    const double p = Median(product), d = Median(direct);
    std::printf("KVT_ReleaseAndTransfer (30 MB raw + 10 MB JPEG): %8.1f ms (median of %d)\n", p,
                rounds);
    std::printf("direct write of the same bytes:                  %8.1f ms\n", d);
    std::printf("ratio: %.2f\n", p / d);
    std::printf("first round (receive buffer not yet touched): %.1f ms against %.1f ms\n",
                firstProduct, firstDirect);
    return 0;
}

// KVT_ReleaseAndTransfer on the camera of the folder's scenario, `rounds` times after
// one round that warms up; prints the median.
int MeasureTransfer(int rounds) {
    HMODULE library = ::LoadLibraryA("oxrmsg.dll");
    auto open = library ? Bind<decltype(&KVT_OpenDevice)>(library, "KVT_OpenDevice") : nullptr;
    auto transfer = library
                        ? Bind<decltype(&KVT_ReleaseAndTransfer)>(library, "KVT_ReleaseAndTransfer")
                        : nullptr;
    if (open == nullptr || transfer == nullptr || open() != 0) {
        std::printf("KVT_OpenDevice failed\n");
        return 3;
    }
    std::vector<double> times;
    for (int round = 0; round <= rounds; ++round) {
        const double start = kvttest::Milliseconds();
        const unsigned long result = transfer("shot");
        const double ms = kvttest::Milliseconds() - start;
        if (result != 0) {
            std::printf("KVT_ReleaseAndTransfer returned %lu\n", result);
            return 6;
        }
        if (round > 0) {
            times.push_back(ms);
        }
    }
    if (kvttest::ReadFileBytes("shot.tr2") != Pattern(kRecordedRawBytes, 3)) {
        std::printf("the transferred file differs from the camera's image\n");
        return 8;
    }
    std::printf("transfer: %.1f ms\n", Median(times));
    return 0;
}

// A folder with the simulated camera on one fixed raw image of 40 MB, in front of which
// the recorder stands when `recorder` is set; the program copied in.
kvtq517test::DeployFolder TransferFolder(const char* prefix, bool recorder) {
    kvtq517test::DeployFolder folder = kvtq517test::ReadyFolder(prefix);
    folder.WithCamera();
    const std::string& dir = folder.Path();
    std::string camera = dir;
    if (recorder) {
        camera = dir + "real\\";
        ::CreateDirectoryA(camera.c_str(), nullptr);
        ::MoveFileA((dir + "KVTItoPTP.dll").c_str(), (camera + "KVTItoPTP.dll").c_str());
        kvttest::CopyFileTo(kvttest::BinDir() + "recorder\\KVTItoPTP.dll", dir + "KVTItoPTP.dll");
        kvttest::WriteFileBytes(
            dir + "KVTRecorder.ini",
            "[Recorder]\r\nTarget = real\\KVTItoPTP.dll\r\nRecording = session.rec\r\n");
    }
    kvttest::WriteFileBytes(camera + "raw.bin", Pattern(kRecordedRawBytes, 3));
    kvttest::WriteFileBytes(
        camera + "KVTItoPTP.ini",
        "[Cameras]\nCount = 1\n[Camera0]\nToolMode = 0xFFFFFFFF\nRaw = file:raw.bin\n"
        "[Camera0.Public]\n0x8000002F = 00 00 06 04\n");
    kvttest::CopyFileTo(kvttest::BinDir() + "release_bench.exe", dir + "release_bench.exe");
    return folder;
}

// The median of one folder's child run, or a negative number when it failed.
double TransferIn(const kvtq517test::DeployFolder& folder, int rounds) {
    const kvttest::ProcessResult run = kvttest::RunProcess(
        "\"" + folder.Path() + "release_bench.exe\" --transfer " + std::to_string(rounds),
        folder.Path(), "", 600000);
    const std::size_t at = run.out.find("transfer: ");
    if (run.exitCode != 0 || at == std::string::npos) {
        std::fputs(run.out.c_str(), stdout);
        std::fputs(run.err.c_str(), stderr);
        return -1;
    }
    return std::atof(run.out.c_str() + at + 10);
}

int CompareRecorder(int rounds, bool keep) {
    const kvtq517test::DeployFolder bare = TransferFolder("release-bench-bare", false);
    const kvtq517test::DeployFolder recorded = TransferFolder("release-bench-recorder", true);
    const double b = TransferIn(bare, rounds);
    const double r = TransferIn(recorded, rounds);
    // The simulated camera replaying that recording: the image read from its block file
    // straight into the capture's buffer.
    const kvtq517test::DeployFolder replay = TransferFolder("release-bench-replay", false);
    ::SetEnvironmentVariableA("KVTSIM_RECORDING", (recorded.Path() + "session.rec").c_str());
    const double p = TransferIn(replay, rounds);
    ::SetEnvironmentVariableA("KVTSIM_RECORDING", nullptr);
    const std::string blocks = kvttest::ReadFileBytes(recorded.Path() + "session.rec");
    if (b < 0 || r < 0 || p < 0 || blocks.find("data=file:session.rec.") == std::string::npos) {
        std::printf("the recorder comparison failed\n");
        return 9;
    }
    // What the recorder adds is one more write of the image, to a new file: that alone.
    const std::string image = Pattern(kRecordedRawBytes, 3);
    std::vector<double> writes;
    for (int round = 0; round < rounds; ++round) {
        const double start = kvttest::Milliseconds();
        WriteDirect(recorded.Path() + "direct-" + std::to_string(round) + ".bin", image);
        writes.push_back(kvttest::Milliseconds() - start);
    }
    std::printf(
        "KVT_ReleaseAndTransfer (40 MB raw) through the recorder: %8.1f ms (median of %d)\n", r,
        rounds);
    std::printf("the same on the bare transport:                  %8.1f ms\n", b);
    std::printf("ratio: %.2f\n", r / b);
    std::printf("recorder: one direct write of the 40 MB to a new file takes %.1f ms here\n",
                Median(writes));
    std::printf("recorder: the replay of that recording: %.1f ms\n", p);
    kvttest::KeepOrRemoveFolder(bare.Path(), keep);
    kvttest::KeepOrRemoveFolder(recorded.Path(), keep);
    kvttest::KeepOrRemoveFolder(replay.Path(), keep);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--measure") {
        return Measure(argc >= 3 ? std::max(1, std::atoi(argv[2])) : 11);
    }
    if (argc >= 2 && std::string(argv[1]) == "--transfer") {
        return MeasureTransfer(argc >= 3 ? std::max(1, std::atoi(argv[2])) : 5);
    }
    if (argc >= 2 && std::string(argv[1]) == "--recorder") {
        return CompareRecorder(argc >= 3 ? std::max(1, std::atoi(argv[2])) : 5,
                               argc >= 4 && std::string(argv[3]) == "keep");
    }
    const int rounds = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 11;
    kvtq517test::DeployFolder folder = kvtq517test::ReadyFolder("release-bench");
    folder.WithCamera(kvtq517test::OneCameraScenario());
    const std::string self = folder.Path() + "release_bench.exe";
    if (!kvttest::CopyFileTo(kvttest::BinDir() + "release_bench.exe", self)) {
        std::printf("cannot lay out %s\n", folder.Path().c_str());
        return 1;
    }
    const kvttest::ProcessResult run = kvttest::RunProcess(
        "\"" + self + "\" --measure " + std::to_string(rounds), folder.Path(), "", 600000);
    std::fputs(run.out.c_str(), stdout);
    std::fputs(run.err.c_str(), stderr);
    kvttest::KeepOrRemoveFolder(folder.Path(), argc >= 3 && std::string(argv[2]) == "keep");
    return run.exitCode;
}
