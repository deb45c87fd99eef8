#include "camera/CameraFixture.h"

#include <ostream>

#include "common/Win32.h"
#include "core/device/DeviceLifecycle.h"

namespace cameratest {

const char kBaseScenario[] =
    "[Cameras]\nCount = 1\n"
    "[Camera0.Procedures]\nProbe.Result = 0\n"
    "[Camera0.DigitalOffsets]\n0x0100000A:DeltaX = 4\n";

Raised Catch(const std::function<void()>& call) {
    Raised r;
    try {
        call();
    } catch (CException* e) {
        r.code = e->Code();
        r.message = e->Message();
        delete e;
    } catch (...) {
        r.code = 33;
        r.message = "(not a CException)";
    }
    return r;
}

std::ostream& operator<<(std::ostream& out, const Raised& r) {
    return out << "{" << r.code << ", \"" << r.message << "\"}";
}

void OpenDeviceOnce(const std::string& scenario) {
    static bool opened = false;
    if (opened) {
        return;
    }
    // Only this run's lines: the folder is kept between runs.
    ::DeleteFileA("KvtDll.log");
    kvttest::SimCamera sim;
    ASSERT_TRUE(sim.Ok());
    ASSERT_TRUE(sim.Load(scenario)) << sim.Error();
    ASSERT_EQ(OpenDevice(), 0);
    opened = true;
}

void CameraTest::SetUp() {
    OpenDeviceOnce(kBaseScenario);
    ASSERT_TRUE(sim.Ok());
    ASSERT_TRUE(sim.Load(kBaseScenario)) << sim.Error();
    _logLines = kvttest::ReadLogLines("KvtDll.log").size();
}

std::vector<std::string> CameraTest::NewLogLines(bool withTimes) {
    std::vector<std::string> all = kvttest::ReadLogLines("KvtDll.log");
    std::vector<std::string> fresh;
    for (std::size_t i = _logLines; i < all.size(); ++i) {
        if (withTimes || all[i].rfind("[TIME] ", 0) != 0) {
            fresh.push_back(all[i]);
        }
    }
    _logLines = all.size();
    return fresh;
}

}  // namespace cameratest
