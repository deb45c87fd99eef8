#include "tests/kvt/KvtFolder.h"

#include <cctype>

#include "common/Win32.h"
#include "tests/examples/DeployCopy.h"

namespace kvtclitest {
namespace {

constexpr unsigned kRunTimeoutMs = 240000;

std::string CommandLine(const std::string& program, const std::vector<std::string>& args) {
    std::string line = "\"" + program + "\"";
    for (const std::string& arg : args) {
        line += " \"" + arg + "\"";
    }
    return line;
}

// A strict reader of one JSON value; false at the first thing that is not JSON.
class JsonCheck {
public:
    explicit JsonCheck(const std::string& text) : _s(text) {}

    bool Document() {
        Blank();
        if (!Value()) {
            return false;
        }
        Blank();
        return _at == _s.size();
    }

private:
    void Blank() {
        while (_at < _s.size() && std::isspace(static_cast<unsigned char>(_s[_at]))) {
            ++_at;
        }
    }
    bool Take(char c) {
        Blank();
        if (_at < _s.size() && _s[_at] == c) {
            ++_at;
            return true;
        }
        return false;
    }
    bool Word(const char* word) {
        const std::string w = word;
        if (_s.compare(_at, w.size(), w) == 0) {
            _at += w.size();
            return true;
        }
        return false;
    }
    bool String() {
        if (!Take('"')) {
            return false;
        }
        while (_at < _s.size()) {
            const unsigned char c = static_cast<unsigned char>(_s[_at++]);
            if (c == '"') {
                return true;
            }
            if (c < 0x20) {
                return false;
            }
            if (c == '\\') {
                if (_at >= _s.size()) {
                    return false;
                }
                const char e = _s[_at++];
                if (e == 'u') {
                    for (int i = 0; i < 4; ++i) {
                        if (_at >= _s.size() || !std::isxdigit(static_cast<unsigned char>(_s[_at++]))) {
                            return false;
                        }
                    }
                } else if (std::string("\"\\/bfnrt").find(e) == std::string::npos) {
                    return false;
                }
            }
        }
        return false;
    }
    bool Number() {
        const std::size_t start = _at;
        if (_at < _s.size() && _s[_at] == '-') {
            ++_at;
        }
        while (_at < _s.size() && (std::isdigit(static_cast<unsigned char>(_s[_at])) ||
                                   _s[_at] == '.' || _s[_at] == 'e' || _s[_at] == 'E' ||
                                   _s[_at] == '+' || _s[_at] == '-')) {
            ++_at;
        }
        return _at > start && std::isdigit(static_cast<unsigned char>(_s[_at - 1]));
    }
    bool Value() {
        Blank();
        if (_at >= _s.size()) {
            return false;
        }
        const char c = _s[_at];
        if (c == '{') {
            ++_at;
            if (Take('}')) {
                return true;
            }
            do {
                Blank();
                if (!String() || !Take(':') || !Value()) {
                    return false;
                }
            } while (Take(','));
            return Take('}');
        }
        if (c == '[') {
            ++_at;
            if (Take(']')) {
                return true;
            }
            do {
                if (!Value()) {
                    return false;
                }
            } while (Take(','));
            return Take(']');
        }
        if (c == '"') {
            return String();
        }
        if (Word("true") || Word("false") || Word("null")) {
            return true;
        }
        return Number();
    }

    const std::string& _s;
    std::size_t _at = 0;
};

}  // namespace

std::string KvtRun::Line(const std::string& head) const {
    for (const std::string& line : out) {
        if (line.compare(0, head.size(), head) == 0) {
            return line;
        }
    }
    return std::string();
}

std::string KvtRun::LineWith(const std::string& text) const {
    for (const std::string& line : out) {
        if (line.find(text) != std::string::npos) {
            return line;
        }
    }
    return std::string();
}

std::string KvtRun::Transcript() const {
    return "exit " + std::to_string(process.exitCode) + (process.started ? "" : " (not started)") +
           (process.timedOut ? " (timed out)" : "") + "\nstdout:\n" + process.out.substr(0, 8000) +
           "\nstderr:\n" + process.err.substr(0, 4000);
}

KvtFolder::KvtFolder(const std::string& prefix)
    : _path(sdktest::CopyDeployFolder(sdktest::WindowsPath(KVT_CLI_DIST), prefix)) {
    if (!_path.empty()) {
        _shippedScenario = kvttest::ReadFileBytes(_path + "KVTItoPTP.ini");
    }
}

void KvtFolder::UseScenario(const std::string& ini) const {
    kvttest::WriteFileBytes(_path + "KVTItoPTP.ini", ini);
}

void KvtFolder::UseShippedScenario() const {
    kvttest::WriteFileBytes(_path + "KVTItoPTP.ini", _shippedScenario);
}

KvtRun KvtFolder::Program(const std::string& program, const std::vector<std::string>& args,
                          const std::string& input) const {
    KvtRun run;
    const std::string line = CommandLine(_path + program, args);
    run.process = kvttest::RunProcess(line, _path, input, kRunTimeoutMs);
    if (!run.process.started) {   // a process creation refused by a loaded machine: once more
        ::Sleep(500);
        run.process = kvttest::RunProcess(line, _path, input, kRunTimeoutMs);
    }
    run.out = kvttest::SplitLines(run.process.out);
    return run;
}

KvtRun KvtFolder::Kvt(const std::vector<std::string>& args, bool journal) const {
    const std::string journalFile = _path + "journal.txt";
    if (journal) {
        ::DeleteFileA(journalFile.c_str());
        ::SetEnvironmentVariableA("KVTSIM_JOURNAL", journalFile.c_str());
    }
    KvtRun run = Program("kvt.exe", args);
    if (journal) {
        ::SetEnvironmentVariableA("KVTSIM_JOURNAL", nullptr);
        run.journal = kvttest::ReadSimJournalFile(journalFile);
    }
    return run;
}

bool IsOneJsonDocument(const std::string& text) {
    return JsonCheck(text).Document();
}

std::vector<kvttest::SimCall> Executed(const KvtRun& run, const std::string& procedure) {
    return kvttest::SimExecutes(run.journal, procedure);
}

}  // namespace kvtclitest
