#include "release/CameraFixture.h"

#include <cstdio>

#include "common/LogFile.h"
#include "core/device/DeviceLifecycle.h"

namespace releasetest {

std::string CameraScenario(unsigned quality, unsigned cameras) {
    std::string text = "[Cameras]\nCount = " + std::to_string(cameras) + "\n";
    for (unsigned i = 0; i < cameras; ++i) {
        const std::string cam = "[Camera" + std::to_string(i) + "]";
        text += cam + "\nTemplate = empty\nJpegSize = 3000\nRawSize = 7000\n";
        text += "[Camera" + std::to_string(i) + ".Public]\n";
        char packed[64];
        std::snprintf(packed, sizeof(packed), "0x8000002F = 00 00 %02x 04\n", quality);
        text += packed;
        text += "0x00000000 = u32:0\n0x80000028 = u32:129\n";
    }
    return text;
}

std::string Le32(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFFu);
    }
    return bytes;
}

void CameraTest::SetUpTestSuite() {
    // The factory API objects linked into this program log through their own copy of
    // the log writer, which needs its staging buffer (Corvane starts its own at load).
    if (!kvtlog::HasLogStaging()) {
        kvtlog::StartLogStaging();
    }
}

void CameraTest::UseScenario(const std::string& scenario) {
    ASSERT_TRUE(sim.Ok());
    ASSERT_TRUE(sim.Load(scenario)) << sim.Error();
    ASSERT_EQ(OpenDevice(), 0);
    sim.ClearJournal();
    MarkLog();
}

void CameraTest::MarkLog() {
    _logMark = kvttest::ReadLogLines("KvtDll.log").size();
}

std::vector<std::string> CameraTest::NewLog() const {
    std::vector<std::string> lines = kvttest::ReadLogLines("KvtDll.log");
    if (lines.size() <= _logMark) {
        return {};
    }
    return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(_logMark),
                                    lines.end());
}

int CameraTest::LogIndex(const std::string& line, int from) const {
    return kvttest::FindLine(NewLog(), line, from);
}

std::vector<kvttest::SimCall> CameraTest::Executes(const std::string& procedure) const {
    return kvttest::SimExecutes(sim.Journal(), procedure);
}

std::vector<std::uint32_t> CameraTest::WrittenProperties() const {
    std::vector<std::uint32_t> ids;
    for (const kvttest::SimCall& call : Executes("FA_SetProperty")) {
        ids.push_back(call.Param(0));
    }
    return ids;
}

}  // namespace releasetest
