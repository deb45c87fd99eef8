// A copy of the build's deploy folder in which kvt.exe runs as a user runs it: as a
// separate process with the folder as its current directory, its exit code, standard
// output and standard error kept apart. The simulated camera's scenario is the
// folder's KVTItoPTP.ini; a run can have the camera's journal written.
#pragma once

#include <string>
#include <vector>

#include "support/SimCamera.h"
#include "support/TestSupport.h"

namespace kvtclitest {

struct KvtRun {
    kvttest::ProcessResult process;
    std::vector<std::string> out;       // lines of standard output
    std::vector<kvttest::SimCall> journal;

    int Exit() const { return process.exitCode; }
    // The line of standard output that starts with `head` ("" when none).
    std::string Line(const std::string& head) const;
    // The first line of standard output that contains `text` ("" when none).
    std::string LineWith(const std::string& text) const;
    // Standard output and error, for failure messages.
    std::string Transcript() const;
};

class KvtFolder {
public:
    // Copies the deploy folder below the current directory.
    explicit KvtFolder(const std::string& prefix);

    bool Ok() const { return !_path.empty(); }
    const std::string& Path() const { return _path; }

    // Replaces the simulated camera's scenario; the deploy folder's own one back.
    void UseScenario(const std::string& ini) const;
    void UseShippedScenario() const;

    // kvt.exe with these arguments (each passed as one argument).
    KvtRun Kvt(const std::vector<std::string>& args, bool journal = false) const;
    // Another program of the folder.
    KvtRun Program(const std::string& program, const std::vector<std::string>& args,
                   const std::string& input = std::string()) const;

private:
    std::string _path;
    std::string _shippedScenario;
};

// True when `text` is exactly one JSON document (white space around it allowed).
bool IsOneJsonDocument(const std::string& text);

// The camera-side procedure calls of a journal with that name.
std::vector<kvttest::SimCall> Executed(const KvtRun& run, const std::string& procedure);

}  // namespace kvtclitest
