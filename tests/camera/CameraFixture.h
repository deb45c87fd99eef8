// In-process fixture of the camera-access tests: this program links Corvane, opens the
// device once on the simulated camera of build/bin, and gives every test a fresh
// scenario, the simulator's journal and the log lines written during the test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/Exception.h"
#include "support/SimCamera.h"
#include "support/TestSupport.h"

namespace cameratest {

// Camera 0 as the built-in scenario has it, plus a procedure without behaviour
// ("Probe", result 0) for the tests of the procedure client and one digital offset.
extern const char kBaseScenario[];

// The outcome of a call that may raise: code 0 and empty message when nothing was raised.
struct Raised {
    unsigned long code = 0;
    std::string message;
    bool operator==(const Raised& o) const { return code == o.code && message == o.message; }
};
Raised Catch(const std::function<void()>& call);
std::ostream& operator<<(std::ostream& out, const Raised& r);

class CameraTest : public ::testing::Test {
protected:
    void SetUp() override;

    // The log lines written since SetUp (or the last call), time stamps removed;
    // without the "[TIME]" lines of the transport calls unless `withTimes`.
    std::vector<std::string> NewLogLines(bool withTimes = false);
    // The camera-side procedures run since SetUp, as kvttest::SimTrace writes them.
    std::string Trace() const { return sim.Trace(); }
    unsigned Calls(const std::string& transportFunction) const {
        return sim.CallCount(0, transportFunction);
    }

    kvttest::SimCamera sim;

private:
    std::size_t _logLines = 0;
};

// Sets a scenario, then opens the device (in every test program of this kind, once).
void OpenDeviceOnce(const std::string& scenario);

}  // namespace cameratest
