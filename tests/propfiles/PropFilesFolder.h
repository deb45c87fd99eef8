// A deploy-like folder with the real factory API library ("oxrmsg.dll"), Corvane, the
// simulated camera and Pellor.q517 registered in the version list, in which the test
// factory program of these tests (PropFilesDriver.cpp) runs as a child process. The
// simulated camera's journal of each run is read back.
#pragma once

#include <string>
#include <vector>

#include "support/SimCamera.h"
#include "support/TestSupport.h"
#include "tests/factory_api/DeployFolder.h"

namespace propfilestest {

// One camera, not in tool mode, from the simulator's default template, plus `extra`.
std::string Scenario(const std::string& extra = std::string());

struct Outcome : kvtq517test::DriverRun {
    std::vector<kvttest::SimCall> journal;

    // What a command printed after its code ("" when nothing).
    std::string Text(const std::string& command) const;
    // The executes of one camera-side procedure.
    std::vector<kvttest::SimCall> Executes(const std::string& procedure) const {
        return kvttest::SimExecutes(journal, procedure);
    }
};

class Folder {
public:
    explicit Folder(const std::string& prefix, const std::string& scenario = Scenario());

    const std::string& Path() const { return _folder.Path(); }
    // The debug-data folder of the folder's Corvane.dll.
    std::string DebugDataDir() const { return Path() + "_Q517_\\_DebugData\\"; }

    Outcome Execute(const std::vector<std::string>& commands) const;

private:
    kvtq517test::DeployFolder _folder;
};

}  // namespace propfilestest
