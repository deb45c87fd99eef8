// The robustness driver: a factory program that runs in a deploy-like folder (its
// current directory: "oxrmsg.dll", Corvane.dll, the simulated camera, Pellor.q517, the
// version list and INI files) and attacks the library in one of these modes:
//
//   sweep <sequence>... | all    transport failure at every call position (FaultSweep.h)
//   init-fault                   the first open with k2pInitialize failing
//   badinput                     bad arguments on every export and procedure (BadInput.h)
//   malformed <kind> <seed> <n>  generated broken files, the library reloaded per case
//   worker <tag> <rounds>        one of several processes using the library at once
//   hold <mutex>[,<mutex>...]    takes named mutexes and waits to be killed
//   foreign-handle               another process's module handle in the handle block
//   run <token>...               sequences run once each as one session (SequenceRun.h)
//
// Results are "@@ ..." lines on standard output; the tests judge them.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "robustness/BadInput.h"
#include "robustness/ConcurrentWorker.h"
#include "robustness/DriverContext.h"
#include "robustness/FaultSweep.h"
#include "robustness/MalformedFiles.h"
#include "robustness/SequenceRun.h"
#include "support/TestSupport.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        robust::Emit("usage: see RobustDriver.cpp");
        return 2;
    }
    robust::DriverContext ctx;
    ctx.folder = kvttest::CurrentDir();
    const std::string mode = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (mode == "hold" && rest.size() == 1) {
        return robust::HoldMutex(rest[0]);
    }
    if (mode == "malformed" && rest.size() == 3) {
        return robust::RunMalformedFiles(ctx, rest[0], std::strtoul(rest[1].c_str(), nullptr, 0),
                                         std::strtoul(rest[2].c_str(), nullptr, 0));
    }
    if (!robust::LoadLibraries(ctx)) {
        return 3;
    }
    if (mode == "sweep") {
        return robust::RunFaultSweep(ctx, rest);
    }
    if (mode == "init-fault") {
        return robust::RunInitializeFault(ctx);
    }
    if (mode == "badinput") {
        return robust::RunBadInput(ctx, rest);
    }
    if (mode == "foreign-handle") {
        return robust::RunForeignCommonModule(ctx);
    }
    if (mode == "run") {
        return robust::RunSequences(ctx, rest);
    }
    if (mode == "worker" && rest.size() == 2) {
        return robust::RunWorker(ctx, rest[0], std::strtoul(rest[1].c_str(), nullptr, 0));
    }
    robust::Emit("unknown mode " + mode);
    return 2;
}
