#include "support/ProcessStart.h"

#include <cstdio>
#include <vector>

namespace kvttest {
namespace {

constexpr DWORD kRetryPauseMs = 500;

std::string ErrorText(DWORD error) {
    char text[256] = {};
    const DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                     error, 0, text, sizeof(text), nullptr);
    std::string s(text, n);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.')) {
        s.pop_back();
    }
    return "error " + std::to_string(error) + (s.empty() ? "" : " (" + s + ")");
}

// An inheritable duplicate of each distinct non-null handle, for one start.
class InheritableCopies {
public:
    explicit InheritableCopies(const ChildStdio& stdio) {
        _stdio.input = Copy(stdio.input);
        _stdio.output = Copy(stdio.output);
        _stdio.error = Copy(stdio.error);
    }
    ~InheritableCopies() {
        for (HANDLE h : _copies) {
            ::CloseHandle(h);
        }
    }
    InheritableCopies(const InheritableCopies&) = delete;
    InheritableCopies& operator=(const InheritableCopies&) = delete;

    const ChildStdio& Stdio() const { return _stdio; }
    std::vector<HANDLE>& List() { return _copies; }

private:
    HANDLE Copy(HANDLE original) {
        if (original == nullptr || original == INVALID_HANDLE_VALUE) {
            return nullptr;
        }
        for (std::size_t i = 0; i < _originals.size(); ++i) {
            if (_originals[i] == original) {
                return _copies[i];
            }
        }
        HANDLE copy = nullptr;
        if (!::DuplicateHandle(::GetCurrentProcess(), original, ::GetCurrentProcess(), &copy, 0, TRUE,
                               DUPLICATE_SAME_ACCESS)) {
            return nullptr;
        }
        _originals.push_back(original);
        _copies.push_back(copy);
        return copy;
    }

    ChildStdio _stdio;
    std::vector<HANDLE> _originals;
    std::vector<HANDLE> _copies;
};

// The attribute list that names the handles a child inherits.
class HandleList {
public:
    explicit HandleList(std::vector<HANDLE>& handles) {
        if (handles.empty()) {
            return;
        }
        SIZE_T size = 0;
        ::InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        _storage.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(_storage.data());
        if (!::InitializeProcThreadAttributeList(list, 1, 0, &size)) {
            return;
        }
        if (!::UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles.data(),
                                         handles.size() * sizeof(HANDLE), nullptr, nullptr)) {
            ::DeleteProcThreadAttributeList(list);
            return;
        }
        _list = list;
    }
    ~HandleList() {
        if (_list != nullptr) {
            ::DeleteProcThreadAttributeList(_list);
        }
    }
    HandleList(const HandleList&) = delete;
    HandleList& operator=(const HandleList&) = delete;

    LPPROC_THREAD_ATTRIBUTE_LIST Get() const { return _list; }

private:
    std::vector<char> _storage;
    LPPROC_THREAD_ATTRIBUTE_LIST _list = nullptr;
};

// A job that ends its processes when its last handle closes.
kvt::UniqueKernelHandle CreateKillingJob() {
    kvt::UniqueKernelHandle job(::CreateJobObjectA(nullptr, nullptr));
    if (!job) {
        return job;
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!::SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits))) {
        job.Reset();
    }
    return job;
}

// One attempt; the error of CreateProcess (0 when started).
DWORD TryStart(const std::string& commandLine, const std::string& workDir, const ChildStdio& stdio,
               DWORD creationFlags, PROCESS_INFORMATION& pi) {
    InheritableCopies copies(stdio);
    HandleList list(copies.List());
    STARTUPINFOEXA si{};
    si.StartupInfo.cb = sizeof(si);
    si.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    si.StartupInfo.hStdInput = copies.Stdio().input;
    si.StartupInfo.hStdOutput = copies.Stdio().output;
    si.StartupInfo.hStdError = copies.Stdio().error;
    si.lpAttributeList = list.Get();
    const bool inherit = list.Get() != nullptr;
    std::string command = commandLine;
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, inherit ? TRUE : FALSE,
                          creationFlags | CREATE_SUSPENDED | (inherit ? EXTENDED_STARTUPINFO_PRESENT : 0),
                          nullptr, workDir.empty() ? nullptr : workDir.c_str(), &si.StartupInfo, &pi)) {
        const DWORD error = ::GetLastError();
        return error != 0 ? error : ERROR_GEN_FAILURE;
    }
    return 0;
}

}  // namespace

StartedProcess::~StartedProcess() {
    _process.Reset();
    _job.Reset();   // ends whatever still runs in it
}

void StartedProcess::KillTree(UINT exitCode) {
    if (_job) {
        ::TerminateJobObject(_job.Get(), exitCode);
    }
    if (_process) {
        ::TerminateProcess(_process.Get(), exitCode);
        ::WaitForSingleObject(_process.Get(), 30000);
    }
}

void StartedProcess::EndDescendants() {
    if (_job) {
        ::TerminateJobObject(_job.Get(), 0);
    }
}

StartedProcess StartProcess(const std::string& commandLine, const std::string& workDir,
                            const ChildStdio& stdio, DWORD creationFlags) {
    std::string errors;
    for (int attempt = 1; attempt <= 2; ++attempt) {
        PROCESS_INFORMATION pi{};
        const DWORD error = TryStart(commandLine, workDir, stdio, creationFlags, pi);
        if (error == 0) {
            StartedProcess started;
            started._process.Reset(pi.hProcess);
            started._id = pi.dwProcessId;
            kvt::UniqueKernelHandle thread(pi.hThread);
            started._job = CreateKillingJob();
            if (started._job && !::AssignProcessToJobObject(started._job.Get(), pi.hProcess)) {
                started._job.Reset();   // runs without one (a job that forbids nesting)
            }
            ::ResumeThread(thread.Get());
            return started;
        }
        errors += (errors.empty() ? "" : ", then ") + ErrorText(error);
        std::fprintf(stderr, "HARNESS: CreateProcess failed, attempt %d of 2, %s: %s (in %s)\n", attempt,
                     ErrorText(error).c_str(), commandLine.c_str(),
                     workDir.empty() ? "the current directory" : workDir.c_str());
        std::fflush(stderr);
        if (attempt == 1) {
            ::Sleep(kRetryPauseMs);
        }
    }
    throw HarnessFailure("HARNESS: the child process could not be started (CreateProcess " + errors +
                         "): " + commandLine + " -- a failure of the test machine, not a test result");
}

void CreateChildPipe(kvt::UniqueKernelHandle& read, kvt::UniqueKernelHandle& write) {
    HANDLE r = nullptr, w = nullptr;
    if (!::CreatePipe(&r, &w, nullptr, 0)) {
        throw HarnessFailure("HARNESS: CreatePipe failed, " + ErrorText(::GetLastError()) +
                             " -- a failure of the test machine, not a test result");
    }
    read.Reset(r);
    write.Reset(w);
}

}  // namespace kvttest
