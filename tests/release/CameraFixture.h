// Fixture of the in-process release tests: the test program links Corvane (and the
// factory API library's objects), opens the device on the simulated camera of build/bin
// and reads back what went to the camera (the simulator's journal) and to the log.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/SimCamera.h"
#include "support/TestSupport.h"

namespace releasetest {

// Cameras with small generated images (JPEG 3000 bytes, raw 7000), the given quality
// code (byte 2 of 0x8000002F), the fixed flag 0 and FlavorMode 129.
std::string CameraScenario(unsigned quality, unsigned cameras = 1);

// Little-endian bytes of a 32-bit value.
std::string Le32(std::uint32_t value);

class CameraTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();

    // Loads the scenario, opens the device (camera 0 selected), clears the journal and
    // marks the end of the log so far.
    void UseScenario(const std::string& scenario);

    // Log lines written since UseScenario (or MarkLog).
    std::vector<std::string> NewLog() const;
    void MarkLog();
    // Index of `line` in NewLog(), or -1.
    int LogIndex(const std::string& line, int from = 0) const;

    // The camera-side procedures run since the journal was cleared, of one name.
    std::vector<kvttest::SimCall> Executes(const std::string& procedure) const;
    // The identifiers written with "FA_SetProperty", in order.
    std::vector<std::uint32_t> WrittenProperties() const;

    kvttest::SimCamera sim;

private:
    std::size_t _logMark = 0;
};

}  // namespace releasetest
