// A deploy-like folder with the real factory API library, Corvane, the simulated camera
// and Pellor.q517 registered in the version list, for the data procedures' tests. The
// test program of the data procedures (PellorDataDriver.cpp) runs in it as a child
// process; the simulated camera's journal of that run is read back.
#pragma once

#include <string>
#include <vector>

#include "support/SimCamera.h"
#include "support/TestSupport.h"
#include "tests/factory_api/DeployFolder.h"

namespace pellortest {

// One camera (not in tool mode) from the simulator's default template, plus `extra`.
std::string Scenario(const std::string& extra = std::string());

// The standard "BoardInf.ini": [Version] and [DLResonantFrequency] with these keys.
std::string BoardInfText(const std::string& keys);

// The driver's "@@ <command> = <code> [...]" lines and KvtDll.log, with the journal.
struct DataRun : kvtq517test::DriverRun {
    std::vector<kvttest::SimCall> journal;  // the simulated camera's traffic

    // What a command printed after its code: "[01 02 ...]" gives "01 02 ...".
    std::string Bytes(const std::string& command) const;
    // The executes of one camera-side procedure.
    std::vector<kvttest::SimCall> Runs(const std::string& procedure) const;
    std::string Trace() const { return kvttest::SimTrace(journal); }
};

class PellorFolder {
public:
    explicit PellorFolder(const std::string& prefix, const std::string& scenario = Scenario(),
                          const std::string& boardInf = BoardInfText("Address=96\r\nSize=4\r\n"));

    const std::string& Path() const { return _folder.Path(); }
    std::string PropertyDir() const { return _folder.PropertyDir(); }
    PellorFolder& WithBoardInf(const std::string& text);

    // Runs the driver with "open" first, then `commands`.
    DataRun Run(const std::vector<std::string>& commands, bool withJournal = true) const;

private:
    kvtq517test::DeployFolder _folder;
};

}  // namespace pellortest
