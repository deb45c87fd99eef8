#include "robustness/MalformedFiles.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <thread>

#include "support/FactoryApi.h"
#include "robustness/GuardedBuffer.h"
#include "support/TestSupport.h"

namespace robust {
namespace {

constexpr unsigned kCaseTimeoutMs = 20000;

// Deterministic pseudo-random numbers (xorshift32); the same seed gives the same cases.
class Random {
public:
    explicit Random(std::uint32_t seed) : _x(seed == 0 ? 0x9E3779B9u : seed) {}
    std::uint32_t Next() {
        _x ^= _x << 13;
        _x ^= _x >> 17;
        _x ^= _x << 5;
        return _x;
    }
    // 0 to n - 1 (0 when n is 0).
    std::size_t Below(std::size_t n) { return n == 0 ? 0 : Next() % n; }

private:
    std::uint32_t _x;
};

std::string Garbage(Random& r, std::size_t n) {
    std::string bytes(n, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(r.Next() >> 24);
    }
    return bytes;
}

// Values that break a reader of "key=value": too long, out of range, not a number,
// empty, with a NUL or a lone CR inside.
std::string ExtremeValue(Random& r) {
    static const char* const kValues[] = {
        "", "-1", "4294967295", "4294967296", "99999999999999999999", "0x7FFFFFFF",
        "2147483648", "-2147483648", "abc", "1.0.0.0.0.0.0.0", "\x01\x02\x03", "1\r2"};
    const std::size_t n = sizeof(kValues) / sizeof(kValues[0]);
    const std::size_t pick = r.Below(n + 2);
    if (pick == n) {
        return std::string(300 + r.Below(70000), '9');
    }
    if (pick == n + 1) {
        return std::string("1.0") + std::string(1, '\0') + ".0.0";
    }
    return kValues[pick];
}

// One mutation of the content.
void Mutate(std::string& s, Random& r, bool text) {
    switch (r.Below(text ? 9 : 7)) {
        case 0:   // truncated
            s.resize(r.Below(s.size() + 1));
            break;
        case 1:   // bytes overwritten
            for (std::size_t k = 1 + r.Below(8); k > 0 && !s.empty(); --k) {
                s[r.Below(s.size())] = static_cast<char>(r.Next() >> 24);
            }
            break;
        case 2:   // garbage instead
            s = Garbage(r, r.Below(2048));
            break;
        case 3:   // garbage inserted
            s.insert(r.Below(s.size() + 1), Garbage(r, 1 + r.Below(64)));
            break;
        case 4:   // an unterminated line far longer than any buffer
            s.insert(r.Below(s.size() + 1), std::string(4096 + r.Below(70000), 'A'));
            break;
        case 5:   // repeated
            s = s + s + s;
            break;
        case 6:   // zero bytes inside
            for (std::size_t k = 1 + r.Below(4); k > 0; --k) {
                s.insert(r.Below(s.size() + 1), 1, '\0');
            }
            break;
        case 7: {  // a value replaced by an extreme one
            std::size_t eq = s.find('=', r.Below(s.size() + 1));
            if (eq == std::string::npos) {
                eq = s.find('=');
            }
            if (eq != std::string::npos) {
                std::size_t end = s.find_first_of("\r\n", eq);
                s.replace(eq + 1, (end == std::string::npos ? s.size() : end) - eq - 1, ExtremeValue(r));
            }
            break;
        }
        default:   // line ends and section brackets removed
            for (char& c : s) {
                if ((c == '\n' || c == ']') && r.Below(2) == 0) {
                    c = ' ';
                }
            }
            break;
    }
}

struct Target {
    std::string path;   // relative to the folder
    bool text;
};

bool TargetOf(const std::string& kind, Target& t) {
    if (kind == "verck") {
        t = {"_Q517_\\Property\\verck", false};
    } else if (kind == "ini") {
        t = {"_Q517_\\Property\\Q517.ini", true};
    } else if (kind == "boardinf") {
        t = {"_Q517_\\Property\\BoardInf.ini", true};
    } else {
        return false;
    }
    return true;
}

// Ends the process when one case runs longer than kCaseTimeoutMs.
class Watchdog {
public:
    explicit Watchdog(const std::string& kind) : _kind(kind), _thread([this] { Watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> lock(_lock);
            _stop = true;
        }
        _changed.notify_all();
        _thread.join();
    }
    void Begin(unsigned long index) {
        std::lock_guard<std::mutex> lock(_lock);
        _case = index;
        ++_generation;
        _changed.notify_all();
    }

private:
    void Watch() {
        std::unique_lock<std::mutex> lock(_lock);
        while (!_stop) {
            const unsigned long generation = _generation;
            if (!_changed.wait_for(lock, std::chrono::milliseconds(kCaseTimeoutMs),
                                   [&] { return _stop || _generation != generation; })) {
                Emit("hang " + _kind + " " + std::to_string(_case));
                ::ExitProcess(9);
            }
        }
    }

    std::string _kind;
    std::mutex _lock;
    std::condition_variable _changed;
    unsigned long _case = 0;
    unsigned long _generation = 0;
    bool _stop = false;
    std::thread _thread;
};

template <class Fn>
Fn BindExport(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// One case: the library loaded with the file in place, the device opened, the board
// procedures run when the file is BoardInf.ini, the library unloaded.
std::string RunCase(const std::string& kind, const std::string& boardInfPath) {
    LogTail log;
    HMODULE library = ::LoadLibraryA("oxrmsg.dll");
    if (library == nullptr) {
        return "load=failed";
    }
    auto open = BindExport<decltype(&KVT_OpenDevice)>(library, "KVT_OpenDevice");
    auto execs = BindExport<decltype(&KVT_ExecuteEventProcS)>(library, "KVT_ExecuteEventProcS");
    std::string out = "open=" + std::to_string(open());
    if (kind == "boardinf") {
        std::uint32_t word = 0;
        out += " get=" + std::to_string(execs("GetBoardInfDLResonantFrequency", &word, 4));
        out += " copy=" + std::to_string(execs("CopyDLResonantFrequency", nullptr, 0));
        // The setter reads "Size" bytes of the caller's: give exactly that many when the
        // file names a size the caller could hold.
        const UINT size = ::GetPrivateProfileIntA("DLResonantFrequency", "Size", -1, boardInfPath.c_str());
        if (size <= 4096) {
            GuardedBuffer bytes(size);
            out += " set=" + std::to_string(execs("SetBoardInfDLResonantFrequency", bytes.Data(), 0));
        }
    }
    ::FreeLibrary(library);
    const std::string text = log.Since();
    out += " err=" + std::to_string(CountTag(text, "[ERR!]"));
    return out;
}

}  // namespace

int RunMalformedFiles(DriverContext& ctx, const std::string& kind, unsigned long seed,
                      unsigned long count) {
    Target target;
    if (!TargetOf(kind, target)) {
        Emit("unknown kind " + kind);
        return 2;
    }
    const std::string path = ctx.folder + target.path;
    const std::string original = kvttest::ReadFileBytes(path);
    if (original.empty()) {
        Emit("no file " + path);
        return 2;
    }
    Random random(static_cast<std::uint32_t>(seed));
    Watchdog watchdog(kind);
    for (unsigned long i = 0; i < count; ++i) {
        // Case 0 is the file as shipped: the loop's own check that a sound file opens.
        std::string content = original;
        if (i > 0) {
            // BoardInf.ini: every second case breaks only the section the board
            // procedures read, so the load passes its version check and the procedures
            // meet the broken keys.
            std::size_t kept = 0;
            if (kind == "boardinf" && i % 2 == 1) {
                const std::size_t section = content.find("[DLResonantFrequency]");
                kept = section == std::string::npos ? 0 : section;
            }
            std::string broken = content.substr(kept);
            for (std::size_t m = 1 + random.Below(3); m > 0; --m) {
                Mutate(broken, random, target.text);
            }
            content = content.substr(0, kept) + broken;
        }
        kvttest::WriteFileBytes(path, content);
        watchdog.Begin(i);
        const std::string label = kind + " " + std::to_string(i);
        Emit("case " + label + " bytes=" + std::to_string(content.size()));
        Emit("file " + label + " " + RunCase(kind, path));
    }
    kvttest::WriteFileBytes(path, original);
    Emit("done");
    return 0;
}

}  // namespace robust
