// CSLRRemoteCapture on the simulated camera: file names, formats, states, the failure
// lines of its frames and the one "FA_FinishRemoteRelease" per release.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "common/Handles.h"
#include "common/Win32.h"
#include "core/camera/SLRRemoteCapture.h"
#include "release/CameraFixture.h"
#include "release/Failure.h"

using namespace releasetest;
using SLR_REMOTE_CAPTURE::IMAGE_FORMAT_JPEG;
using SLR_REMOTE_CAPTURE::IMAGE_FORMAT_TRAW;
using Formats = CSLRRemoteCapture::ImageFormatList;

namespace {

class Capture : public CameraTest {
protected:
    void SetUp() override { _dir = kvttest::MakeFreshDir("capture"); }
    void TearDown() override { kvttest::RemoveTree(_dir); }
    const std::string& Dir() const { return _dir; }

    std::size_t Finishes() const { return Executes("FA_FinishRemoteRelease").size(); }
    std::size_t Fetches() const {
        std::size_t n = 0;
        for (const auto& call : sim.Journal()) {
            n += call.function == "k2pGetReturnDataForExecuteRemoteEventProcedure" ? 1 : 0;
        }
        return n;
    }

private:
    std::string _dir;
};

TEST_F(Capture, EachImageGoesByteExactToTheTargetWithItsExtension) {
    struct Case {
        unsigned quality;
        std::string target;                   // below the test folder
        Formats formats;
        std::vector<std::string> files;       // in delivery order
    } cases[] = {
        {7, "shot", {IMAGE_FORMAT_TRAW, IMAGE_FORMAT_JPEG}, {"shot.tr2", "shot.jpg"}},
        {1, "shot.bmp", {IMAGE_FORMAT_JPEG}, {"shot.jpg"}},
        {6, "take.2.old", {IMAGE_FORMAT_TRAW}, {"take.2.tr2"}},
        // The last dot of the whole path counts, also in a folder name: the images
        // land beside that folder, named after it.
        {1, "Img.old\\shot", {IMAGE_FORMAT_JPEG}, {"Img.jpg"}},
        {7, "Img.old\\shot", {IMAGE_FORMAT_TRAW, IMAGE_FORMAT_JPEG}, {"Img.tr2", "Img.jpg"}},
    };
    ASSERT_EQ(Dir().find('.'), std::string::npos) << "the cases need a test folder without dots";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        UseScenario(CameraScenario(c.quality));
        ::CreateDirectoryA((Dir() + "Img.old").c_str(), nullptr);
        {
            CSLRRemoteCapture capture(Dir() + c.target);
            capture.Release();
            capture.Transfer(c.formats);
            EXPECT_EQ(capture.GetFullPath(), Dir() + c.files.back());
        }
        for (std::size_t i = 0; i < c.files.size(); ++i) {
            const std::string image = sim.ReleaseImage(0, static_cast<unsigned>(i));
            ASSERT_FALSE(image.empty());
            EXPECT_EQ(kvttest::ReadFileBytes(Dir() + c.files[i]), image) << c.files[i];
            EXPECT_GE(LogIndex("[VALU] _FullPath - " + Dir() + c.files[i]), 0);
        }
        EXPECT_FALSE(kvttest::FileExists(Dir() + "Img.old\\shot.jpg"));
        EXPECT_FALSE(kvttest::FileExists(Dir() + "Img.old\\shot.tr2"));
        EXPECT_EQ(Finishes(), 1u);
        kvttest::RemoveTree(Dir() + "Img.old");
        for (const std::string& file : c.files) {
            ::DeleteFileA((Dir() + file).c_str());
        }
    }
}

// The receive buffer is kept between fetches; a larger image after a smaller one must
// still arrive whole.
TEST_F(Capture, ALargerImageAfterASmallerOneArrivesWhole) {
    for (const char* size : {"JpegSize = 3000", "JpegSize = 1048583", "JpegSize = 5"}) {
        SCOPED_TRACE(size);
        UseScenario(std::string("[Camera0]\nTemplate = empty\n") + size +
                    "\n[Camera0.Public]\n0x8000002F = 00 00 01 04\n");
        CSLRRemoteCapture capture(Dir() + "shot");
        capture.ReleaseAndTransfer({IMAGE_FORMAT_JPEG});
        EXPECT_EQ(kvttest::ReadFileBytes(Dir() + "shot.jpg"), sim.ReleaseImage(0, 0));
    }
}

TEST_F(Capture, AFormatListOtherThanOneOrTwoKnownFormatsFetchesNothing) {
    struct Case {
        Formats formats;
        const char* check;
    } cases[] = {
        {{}, "[VALU] ImageFormat.size()"},
        {{IMAGE_FORMAT_TRAW, IMAGE_FORMAT_JPEG, IMAGE_FORMAT_JPEG}, "[VALU] ImageFormat.size()"},
        {{IMAGE_FORMAT_JPEG, IMAGE_FORMAT_JPEG}, "[VALU] ImageFormat[ 0/1 ]"},
        {{IMAGE_FORMAT_TRAW, IMAGE_FORMAT_TRAW}, "[VALU] ImageFormat[ 0/1 ]"},
        {{static_cast<SLR_REMOTE_CAPTURE::tagIMAGE_FORMAT_T>(2)}, "[VALU] ImageFormat[ 0 ]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.check);
        UseScenario(CameraScenario(7));
        CSLRRemoteCapture capture(Dir() + "shot");
        capture.Release();
        const Failure f = CatchFailure([&] { capture.Transfer(c.formats); });
        EXPECT_TRUE(f.raised);
        EXPECT_EQ(f.code, 1u);
        EXPECT_EQ(f.message, "[FUNC] CSLRRemoteCapture::Transfer");
        EXPECT_GE(LogIndex(std::string("[ERR!] - ") + c.check), 0);
        EXPECT_EQ(Fetches(), 0u);
        EXPECT_FALSE(kvttest::FileExists(Dir() + "shot.jpg"));
        EXPECT_FALSE(kvttest::FileExists(Dir() + "shot.tr2"));
    }
}

TEST_F(Capture, TransfersOutsideAnOpenReleaseAreRefused) {
    struct Case {
        const char* name;
        bool withPath, release, terminate;
        const char* check;
    } cases[] = {
        {"before any release", true, false, false, "[VALU] _DataSize"},
        {"after Terminate", true, true, true, "[VALU] _IsFinishRemoteRelease"},
        {"without a path", false, true, false, "[VALU] _FullPath.length()"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseScenario(CameraScenario(1));
        std::unique_ptr<CSLRRemoteCapture> capture(
            c.withPath ? new CSLRRemoteCapture(Dir() + "shot") : new CSLRRemoteCapture());
        if (c.release) {
            capture->Release();
        }
        if (c.terminate) {
            capture->Terminate();
        }
        const Failure f = CatchFailure([&] { capture->Transfer({IMAGE_FORMAT_JPEG}); });
        EXPECT_EQ(f.code, 1u);
        EXPECT_EQ(f.message, "[FUNC] CSLRRemoteCapture::Transfer");
        const int at = LogIndex(std::string("[ERR!] - ") + c.check);
        ASSERT_GE(at, 0);
        EXPECT_EQ(LogIndex("[ERR!] - [FUNC] CSLRRemoteCapture::Impl::_TransferJpeg"), at + 1);
        EXPECT_EQ(Fetches(), 0u);
    }
}

TEST_F(Capture, AnUnopenableFileLeavesTheTwoFailureLinesInOrder) {
    UseScenario(CameraScenario(1));
    CSLRRemoteCapture capture(Dir() + "missing\\shot");
    capture.Release();
    const Failure f = CatchFailure([&] { capture.Transfer({IMAGE_FORMAT_JPEG}); });
    EXPECT_EQ(f.code, 1u);
    EXPECT_EQ(f.message, "[FUNC] CSLRRemoteCapture::Transfer");
    const std::vector<std::string> log = NewLog();
    const int at = kvttest::FindLine(log, "[ERR!] - [STDF] ofstream open error!");
    ASSERT_GE(at, 1);
    EXPECT_EQ(log[at - 1].rfind("[TIME]", 0), 0u);   // the fetch ran before the open
    ASSERT_LT(at + 1, static_cast<int>(log.size()));
    EXPECT_EQ(log[at + 1], "[ERR!] - [FUNC] CSLRRemoteCapture::Impl::_TransferJpeg");
}

TEST_F(Capture, AFailedSecondImageKeepsTheFirstFile) {
    UseScenario(CameraScenario(6));   // the camera holds the raw image only
    CSLRRemoteCapture capture(Dir() + "shot");
    capture.Release();
    const Failure f =
        CatchFailure([&] { capture.Transfer({IMAGE_FORMAT_TRAW, IMAGE_FORMAT_JPEG}); });
    EXPECT_EQ(f.code, 1u);
    EXPECT_EQ(kvttest::ReadFileBytes(Dir() + "shot.tr2"), sim.ReleaseImage(0, 0));
    EXPECT_FALSE(kvttest::FileExists(Dir() + "shot.jpg"));
    // The JPEG fetch failed on its checks, before it took its extension.
    EXPECT_EQ(capture.GetFullPath(), Dir() + "shot.tr2");
    const int at = LogIndex("[ERR!] - [VALU] _DataSize");
    ASSERT_GE(at, 0);
    EXPECT_EQ(LogIndex("[ERR!] - [FUNC] CSLRRemoteCapture::Impl::_TransferJpeg"), at + 1);
    EXPECT_EQ(LogIndex("[ERR!] - [FUNC] CSLRRemoteCapture::Impl::_TransferTrawPlusJpeg"),
              at + 2);
}

TEST_F(Capture, TransportFailuresAreRaisedUnderTheMembersNames) {
    UseScenario(CameraScenario(1));
    CSLRRemoteCapture capture(Dir() + "shot");
    ASSERT_TRUE(sim.SetFault("k2pExecuteRemoteEventProcedure", 1, 9));
    Failure f = CatchFailure([&] { capture.Release(); });
    EXPECT_EQ(f.code, 1u);
    EXPECT_EQ(f.message, "[FUNC] CSLRRemoteCapture::Release");
    EXPECT_GE(LogIndex("[ERR!] - [FUNC] _k2pExecuteRemoteEventProcedure"), 0);

    MarkLog();
    ASSERT_TRUE(sim.SetFault("k2pExecuteRemoteEventProcedure", 1, 9));
    f = CatchFailure([&] { capture.ReleaseAndTransfer({IMAGE_FORMAT_JPEG}); });
    EXPECT_EQ(f.code, 1u);
    EXPECT_EQ(f.message, "[FUNC] CSLRRemoteCapture::ReleaseAndTransfer");
    const int at = LogIndex("[ERR!] - [FUNC] _k2pExecuteRemoteEventProcedure");
    ASSERT_GE(at, 0);
    EXPECT_EQ(LogIndex("[ERR!] - [FUNC] CSLRRemoteCapture::Release"), at + 1);

    capture.ReleaseAndTransfer({IMAGE_FORMAT_JPEG});
    EXPECT_EQ(kvttest::ReadFileBytes(Dir() + "shot.jpg"), sim.ReleaseImage(0, 0));
}

TEST_F(Capture, EveryReleaseIsFinishedOnce) {
    struct Case {
        const char* name;
        std::vector<const char*> steps;
        std::size_t finishes;
    } cases[] = {
        {"never released", {}, 1},
        {"released and transferred", {"release", "transfer"}, 1},
        {"terminated", {"release", "terminate"}, 1},
        {"terminated twice", {"release", "terminate", "terminate"}, 1},
        {"released again after Terminate", {"release", "terminate", "release"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseScenario(CameraScenario(1));
        {
            CSLRRemoteCapture capture(Dir() + "shot");
            for (const std::string step : c.steps) {
                if (step == "release") {
                    capture.Release();
                } else if (step == "transfer") {
                    capture.Transfer({IMAGE_FORMAT_JPEG});
                } else {
                    capture.Terminate();
                }
            }
        }
        const auto finishes = Executes("FA_FinishRemoteRelease");
        ASSERT_EQ(finishes.size(), c.finishes);
        ASSERT_EQ(finishes[0].params.size(), 1u);
        EXPECT_EQ(finishes[0].params[0], (kvttest::SimParam{2, Le32(0)}));
        EXPECT_EQ(sim.State(0, "ReleaseOpen"), 0u);
    }
}

TEST_F(Capture, AFailingFinishIsRaisedByTerminateAndOnlyLoggedByTheDestructor) {
    UseScenario(CameraScenario(1));
    {
        CSLRRemoteCapture capture(Dir() + "shot");
        capture.Release();
        ASSERT_TRUE(sim.ForceResult(0, "FA_FinishRemoteRelease", 1, 5));
        const Failure f = CatchFailure([&] { capture.Terminate(); });
        EXPECT_EQ(f.code, 5u);
        EXPECT_EQ(f.message, "[EVNT] FA_FinishRemoteRelease");
    }
    EXPECT_EQ(Executes("FA_FinishRemoteRelease").size(), 1u);

    sim.ClearJournal();
    MarkLog();
    ASSERT_TRUE(sim.ForceResult(0, "FA_FinishRemoteRelease", 1, 5));
    const Failure f = CatchFailure([&] {
        CSLRRemoteCapture capture(Dir() + "shot");
        capture.Release();
    });
    EXPECT_FALSE(f.raised);
    EXPECT_EQ(Executes("FA_FinishRemoteRelease").size(), 1u);
    const int at = LogIndex("[ERR!] - [EVNT] FA_FinishRemoteRelease");
    ASSERT_GE(at, 0);
    EXPECT_EQ(LogIndex("[ERR!] - [FUNC] CSLRRemoteCapture::~CSLRRemoteCapture"), at + 1);
}

// A pipe whose reader goes away as soon as the capture has opened it: the open
// succeeds and the write fails, which must not pass as a written image.
TEST_F(Capture, AWriteThatFailsAfterTheOpenIsReported) {
    UseScenario("[Camera0]\nTemplate = empty\nJpegSize = 4194304\n"
                "[Camera0.Public]\n0x8000002F = 00 00 01 04\n");
    const std::string name =
        "\\\\.\\pipe\\kvt-release-" + std::to_string(::GetCurrentProcessId());
    HANDLE pipe = ::CreateNamedPipeA((name + ".jpg").c_str(), PIPE_ACCESS_INBOUND,
                                     PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    std::thread reader([pipe] {
        ::ConnectNamedPipe(pipe, nullptr);
        ::CloseHandle(pipe);
    });
    // The target's last dot must follow "\\.\": ".x" is replaced by ".jpg".
    CSLRRemoteCapture capture(name + ".x");
    capture.Release();
    const Failure f = CatchFailure([&] { capture.Transfer({IMAGE_FORMAT_JPEG}); });
    {
        // Should the transfer have missed the pipe, this connection ends the reader;
        // otherwise the pipe is gone and it fails.
        kvt::UniqueFile client(::CreateFileA((name + ".jpg").c_str(), GENERIC_WRITE, 0, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
    }
    reader.join();
    EXPECT_EQ(f.code, 1u);
    EXPECT_EQ(f.message, "[FUNC] CSLRRemoteCapture::Transfer");
    const int at = LogIndex("[ERR!] - [WAPI] WriteFile");
    ASSERT_GE(at, 0);
    EXPECT_EQ(LogIndex("[ERR!] - [FUNC] CSLRRemoteCapture::Impl::_TransferJpeg"), at + 1);
}

}  // namespace
