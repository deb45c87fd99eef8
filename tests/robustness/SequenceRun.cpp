#include "robustness/SequenceRun.h"

#include <cstdlib>
#include <thread>

#include "common/Handles.h"
#include "robustness/FaultSweep.h"
#include "robustness/Sequences.h"

namespace robust {
namespace {

const Sequence* Find(const std::vector<Sequence>& all, const std::string& name) {
    for (const Sequence& s : all) {
        if (s.name == name) {
            return &s;
        }
    }
    return nullptr;
}

bool BatchExists() {
    const std::string name = "KVT_LOG_BATCH_" + std::to_string(::GetCurrentProcessId());
    kvt::UniqueKernelHandle mapping(::OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str()));
    return static_cast<bool>(mapping);
}

// Runs `procedure` on another thread while this one holds the mutex of the name block
// the call waits for, then kills the process in the middle of that operation.
[[noreturn]] void Interrupt(DriverContext& ctx, const std::string& procedure) {
    kvt::UniqueKernelHandle mutex(::CreateMutexA(nullptr, FALSE, "MUTEX_NAME_EVENTPROCNAME"));
    kvt::MutexLock held(mutex.Get());
    std::thread call([&ctx, procedure] {
        unsigned char buffer[64] = {};
        ctx.api.executeEventProcS(procedure.c_str(), buffer, sizeof(buffer));
    });
    call.detach();
    ::Sleep(1000);
    Emit("interrupting");
    ::TerminateProcess(::GetCurrentProcess(), 9);
    for (;;) {
        ::Sleep(1000);
    }
}

}  // namespace

int RunSequences(DriverContext& ctx, const std::vector<std::string>& tokens) {
    kvttest::SimCamera& sim = *ctx.sim;
    const std::vector<Sequence> all = AllSequences(ctx);
    Emit(std::string("fastlog ") + (BatchExists() ? "1" : "0"));
    for (const std::string& token : tokens) {
        if (token.rfind("interrupt:", 0) == 0) {
            Interrupt(ctx, token.substr(10));
        }
        std::string name = token;
        const bool locked = name.rfind("locked:", 0) == 0;
        if (locked) {
            name = name.substr(7);
        }
        unsigned failingCall = 0;
        const std::size_t bang = name.find('!');
        if (bang != std::string::npos) {
            failingCall = static_cast<unsigned>(std::strtoul(name.c_str() + bang + 1, nullptr, 10));
            name = name.substr(0, bang);
        }
        const Sequence* seq = Find(all, name);
        if (seq == nullptr || !sim.Load(seq->scenario) || seq->arrange() != 0) {
            Emit("ran " + token + " set-up failed");
            return 1;
        }
        if (failingCall != 0) {
            sim.SetFault("k2pExecuteRemoteEventProcedure", failingCall, kInjectedStatus);
        }
        kvt::UniqueFile hold;
        if (locked) {
            hold.Reset(::CreateFileA("KvtDll.log", GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        }
        const unsigned long result = seq->act();
        hold.Reset();
        sim.SetFault("k2pExecuteRemoteEventProcedure", 0, 0);
        sim.ClearJournal();
        Emit("ran " + token + " result=" + std::to_string(result));
    }
    ctx.api.closeDevice();
    Emit("done");
    return 0;
}

}  // namespace robust
