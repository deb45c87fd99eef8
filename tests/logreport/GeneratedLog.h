// Logs made to measure: the lines the libraries write for whole processes (banners,
// timer restarts, frames, transport timings, dumps, failure chains), with the figures
// a report of them must show. The damaged-log tests cut and spoil them; the benchmark
// makes a large one.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace logreporttest {

struct Expected {
    std::map<std::string, unsigned> exports;      // per exported operation
    std::map<std::string, unsigned> procedures;   // per event procedure
    std::map<std::string, unsigned> transport;    // per camera-side procedure
    unsigned failures = 0;                        // failed operations at the top level
    unsigned restarts = 0;
    unsigned processes = 0;
};

class GeneratedLog {
public:
    // Appends the lines of one process: load, `rounds` rounds of a factory program
    // (open, two procedures, a monitor read of `dumpBytes` bytes, a release, close;
    // every `failEvery`-th round one more procedure fails with a three-frame chain),
    // unload. The process's clock starts at `clockStart` milliseconds.
    void AddProcess(unsigned rounds, unsigned failEvery, unsigned dumpBytes,
                    std::uint32_t clockStart = 0);

    const std::vector<std::string>& Lines() const { return _lines; }
    std::vector<std::string>& Lines() { return _lines; }
    const Expected& Expect() const { return _expected; }
    // The lines with CR LF (as the libraries write them on Windows) or LF ends.
    std::string Text(bool crLf = true) const;

    // Two processes' lines taken in turns of `run` lines: how they land in one log.
    static std::vector<std::string> Interleave(const std::vector<std::string>& a,
                                               const std::vector<std::string>& b, std::size_t run);

private:
    void Line(const std::string& text);
    void Frame(const std::string& tag, const std::string& name, unsigned transportCalls,
               const std::string& procedure, long result, unsigned ms);
    void Restart();
    void Dump(unsigned bytes);

    std::vector<std::string> _lines;
    Expected _expected;
    std::uint32_t _clock = 0;
};

}  // namespace logreporttest
