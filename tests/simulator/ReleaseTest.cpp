// Remote release and image transfer as the camera does it.
#include <chrono>

#include "SimFixture.h"
#include "support/TestSupport.h"

using namespace simtest;

namespace {

class Release : public SimTest {
protected:
    std::string Scenario() const override {
        return "[Camera0]\nTemplate = empty\nJpegSize = 3000\nRawSize = 7000\n";
    }
    void SetQuality(unsigned code) {
        std::string packed("\x00\x00\x00\x04", 4);
        packed[2] = static_cast<char>(code);
        ASSERT_TRUE(sim.SetProperty(0, 0, 0x8000002F, packed));
    }
};

TEST_F(Release, TheQualityCodeDecidesWhichImagesComeInWhichOrder) {
    struct Case {
        unsigned quality;
        std::vector<std::size_t> sizes;  // in delivery order; empty: refused
    } cases[] = {{1, {3000}}, {6, {7000}}, {7, {7000, 3000}}, {2, {}}, {0, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.quality);
        SetQuality(c.quality);
        Ran first = Get("FA_RemoteRelease", {});
        ASSERT_EQ(first.status, 0u);
        if (c.sizes.empty()) {
            EXPECT_EQ(first.data.size(), 0u);
            EXPECT_EQ(Run("FA_RemoteRelease", {}).result, 1u);
            continue;
        }
        ASSERT_EQ(first.data.size(), c.sizes[0]);
        EXPECT_EQ(first.data, sim.ReleaseImage(0, 0));
        Ran second = Get("FA_GetRemoteReleasePlusImage", {});
        if (c.sizes.size() == 2) {
            ASSERT_EQ(second.data.size(), c.sizes[1]);
            EXPECT_EQ(second.data, sim.ReleaseImage(0, 1));
            EXPECT_EQ(Get("FA_GetRemoteReleasePlusImage", {}).data.size(), 0u);
        } else {
            EXPECT_EQ(second.data.size(), 0u);
        }
        EXPECT_EQ(sim.State(0, "ReleaseOpen"), 1u);
        EXPECT_EQ(Run("FA_FinishRemoteRelease", {I32(0)}).result, 0u);
        EXPECT_EQ(sim.State(0, "ReleaseOpen"), 0u);
        EXPECT_EQ(Run("FA_GetRemoteReleasePlusImage", {}).result, 1u);
    }
}

TEST_F(Release, GeneratedImagesLookLikeTheirFormatAndRepeatPerShot) {
    SetQuality(7);
    std::string raw = Get("FA_RemoteRelease", {}).data;
    std::string jpeg = Get("FA_GetRemoteReleasePlusImage", {}).data;
    EXPECT_EQ(raw.substr(0, 4), std::string("II*\0", 4));
    EXPECT_EQ(jpeg.substr(0, 4), "\xFF\xD8\xFF\xE0");
    EXPECT_EQ(jpeg.substr(jpeg.size() - 2), "\xFF\xD9");
    std::string secondShot = Get("FA_RemoteRelease", {}).data;
    EXPECT_NE(secondShot, raw);
    // The same scenario gives the same bytes for the same shot.
    ASSERT_TRUE(sim.Load(Scenario()));
    SetQuality(7);
    EXPECT_EQ(Get("FA_RemoteRelease", {}).data, raw);
}

TEST_F(Release, ImagesFromFilesAndFinishingWithoutARelease) {
    std::string file = kvttest::CurrentDir() + "sim-shot.jpg";
    ASSERT_TRUE(kvttest::WriteFileBytes(file, "\xFF\xD8 my jpeg \xFF\xD9"));
    ASSERT_TRUE(sim.Apply("[Camera0]\nJpeg = file:" + file + "\n")) << sim.Error();
    SetQuality(1);
    EXPECT_EQ(Run("FA_FinishRemoteRelease", {I32(0)}).result, 0u);
    EXPECT_EQ(Get("FA_RemoteRelease", {}).data, "\xFF\xD8 my jpeg \xFF\xD9");
}

TEST_F(Release, ALargeImageMovesInOnePiece) {
    ASSERT_TRUE(sim.Apply("[Camera0]\nRawSize = 41943040\n"));
    SetQuality(6);
    auto start = std::chrono::steady_clock::now();
    Ran r = Get("FA_RemoteRelease", {});
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(r.data.size(), 41943040u);
    EXPECT_EQ(r.data, sim.ReleaseImage(0, 0));
    std::printf("40 MB raw release and fetch: %.0f ms\n", ms);
    EXPECT_LT(ms, 5000.0);
}

}  // namespace
