#include "factory_api/plugin/PlugInFunctionLists.h"

#include <cstdio>
#include <vector>

#include "common/Exception.h"
#include "common/LogFile.h"
#include "common/LogFrame.h"
#include "factory_api/plugin/PlugInManager.h"

namespace {

kvtlog::LogStream s_log;
std::vector<PlugInFunc_t> g_InitializeFuncList;
std::vector<PlugInFunc_t> g_TerminateFuncList;

void AddFunc(std::vector<PlugInFunc_t>& list, const char* frameName, PlugInFunc_t function) noexcept {
    kvtlog::FrameLines lines{frameName};
    lines.header = false;
    lines.exitLine = false;
    lines.commitFailureLine = true;
    kvtlog::RunFrame(s_log, lines, [&] {
        if (function == nullptr) {
            kvt::Fail("[VALU] function", 3);
        }
        list.push_back(function);
    });
}

// Asks each plug-in's `exportName`, if it has it, to add its functions to `list`.
unsigned long RegisterFuncList(const char* entry, std::vector<PlugInFunc_t>& list,
                               const char* exportName, AddPlugInFunc_t add, bool logNames) {
    return kvtlog::RunFrame(s_log, {entry}, [&] {
        list.clear();
        const PlugInList plugIns = CPlugInManager::GetInstance().GetPlugInList();
        if (plugIns.empty()) {
            kvt::Fail("[VALU] PlugInList.size()", 35);
        }
        for (const auto& plugIn : plugIns) {
            if (logNames) {
                kvtlog::Stamp(s_log) << "[VALU] it->GetPlugInName() - " << plugIn->GetPlugInName()
                                     << '\n';
                kvtlog::CommitLog(s_log);
            }
            // Both optional exports have this type.
            auto registerList = plugIn->FindExport<RegisterInitializeFuncList_t>(exportName);
            if (registerList != nullptr) {
                registerList(add);
            }
        }
    });
}

unsigned long DeregisterFuncList(const char* entry, std::vector<PlugInFunc_t>& list) {
    return kvtlog::RunFrame(s_log, {entry}, [&] { list.clear(); });
}

void RunFuncList(const std::vector<PlugInFunc_t>& list) {
    // A copy: a function that added to the list while it runs cannot disturb the walk.
    const std::vector<PlugInFunc_t> functions = list;
    for (PlugInFunc_t function : functions) {
        function(0);
    }
}

}  // namespace

void __cdecl AddInitializeFunc(PlugInFunc_t function) noexcept {
    AddFunc(g_InitializeFuncList, "[FUNC] AddInitializeFunc", function);
}

void __cdecl AddTerminateFunc(PlugInFunc_t function) noexcept {
    AddFunc(g_TerminateFuncList, "[FUNC] AddTerminateFunc", function);
}

unsigned long RegisterInitializeFuncList() {
    return RegisterFuncList("[FUNC] RegisterInitializeFuncList", g_InitializeFuncList,
                            kRegisterInitializeFuncListExport, &AddInitializeFunc, true);
}

unsigned long RegisterTerminateFuncList() {
    return RegisterFuncList("[FUNC] RegisterTerminateFuncList", g_TerminateFuncList,
                            kRegisterTerminateFuncListExport, &AddTerminateFunc, false);
}

unsigned long DeregisterInitializeFuncList() {
    return DeregisterFuncList("[FUNC] DeregisterInitializeFuncList", g_InitializeFuncList);
}

unsigned long DeregisterTerminateFuncList() {
    return DeregisterFuncList("[FUNC] DeregisterTerminateFuncList", g_TerminateFuncList);
}

unsigned long ExecuteInitializeFunc() {
    return kvtlog::RunFrame(s_log, {"[FUNC] ExecuteInitializeFunc"}, [] {
        kvtlog::Stamp(s_log) << "InitializeFuncList.size() - " << std::dec
                             << g_InitializeFuncList.size() << '\n';
        kvtlog::CommitLog(s_log);
        RunFuncList(g_InitializeFuncList);
    });
}

unsigned long ExecuteTerminateFunc() {
    return kvtlog::RunFrame(s_log, {"[FUNC] ExecuteTerminateFunc"}, [] {
        std::printf("TerminateFuncList.size() - %u\n",
                    static_cast<unsigned>(g_TerminateFuncList.size()));
        RunFuncList(g_TerminateFuncList);
    });
}
