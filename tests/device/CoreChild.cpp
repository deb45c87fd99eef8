// A fresh process around Corvane for the tests that need Corvane's process-wide state
// from the start: it runs the steps given on its command line and prints one line per
// step ("<step> <result>"). Corvane is linked, so its load and unload run as in any
// program; the simulated transport beside it is controlled by name once it is loaded.
//
// Steps:
//   open | close          OpenDevice / CloseDevice, prints the result
//   clear                 CEventProcedure::ClearParameters, prints the code (0 = none)
//   scenario=<file>       loads a scenario into the loaded simulator, prints its status
//   read=<bank>,<addr>,<size>   monitor session on the selected camera: open, bank,
//                         read, close; prints the bytes in hex or "error <code>"
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/Win32.h"
#include "core/camera/EventProcedure.h"
#include "core/camera/SLRMonitor.h"
#include "core/device/DeviceLifecycle.h"
#include "simulator/camera/SimControl.h"

namespace {

unsigned long CodeOf(void (*step)()) {
    try {
        step();
        return 0;
    } catch (CException* e) {
        const unsigned long code = e->Code();
        delete e;
        return code;
    } catch (...) {
        return 33;
    }
}

std::string LoadScenario(const std::string& path) {
    HMODULE sim = ::GetModuleHandleA("KVTItoPTP.dll");
    if (sim == nullptr) {
        return "not-loaded";
    }
    auto load = reinterpret_cast<kvtsim_LoadScenarioFile_t>(
        reinterpret_cast<void (*)()>(::GetProcAddress(sim, "kvtsim_LoadScenarioFile")));
    if (load == nullptr) {
        return "no-control";
    }
    return std::to_string(load(path.c_str()));
}

std::string ReadBank(const std::string& args) {
    unsigned bank = 0, address = 0, size = 0;
    if (std::sscanf(args.c_str(), "%i,%i,%i", &bank, &address, &size) != 3) {
        return "bad-arguments";
    }
    std::vector<unsigned char> data(size);
    try {
        CSLRMonitor monitor;
        monitor.OpenSession();
        monitor.ChangeBank(static_cast<SLR_MONITOR::tagBANK_KIND_T>(bank));
        unsigned count = size;
        monitor.ReadMemory(address, count, data.data());
        monitor.CloseSession();
        std::string hex;
        char two[3];
        for (unsigned i = 0; i < count; ++i) {
            std::snprintf(two, sizeof(two), "%02x", data[i]);
            hex += two;
        }
        return hex;
    } catch (CException* e) {
        std::string text = "error " + std::to_string(e->Code());
        delete e;
        return text;
    } catch (...) {
        return "error 33";
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string step = argv[i];
        std::string result;
        if (step == "open") {
            result = std::to_string(OpenDevice());
        } else if (step == "close") {
            result = std::to_string(CloseDevice());
        } else if (step == "clear") {
            result = std::to_string(CodeOf([] { CEventProcedure().ClearParameters(); }));
        } else if (step.rfind("scenario=", 0) == 0) {
            result = LoadScenario(step.substr(9));
        } else if (step.rfind("read=", 0) == 0) {
            result = ReadBank(step.substr(5));
        } else {
            result = "unknown-step";
        }
        std::printf("%s %s\n", step.c_str(), result.c_str());
        std::fflush(stdout);
    }
    return 0;
}
