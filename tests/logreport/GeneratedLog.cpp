#include "tests/logreport/GeneratedLog.h"

#include <cstdio>

#include "common/LogTexts.h"
#include "common/LogTimeStamp.h"

namespace logreporttest {

namespace text = kvtlog::text;

void GeneratedLog::Line(const std::string& body) {
    _lines.push_back(kvtlog::FormatTimeStamp(_clock, text::kStampWidth) + body);
}

void GeneratedLog::Restart() {
    _lines.push_back(text::kTimerRestart);
    _clock = 0;
    ++_expected.restarts;
}

void GeneratedLog::Dump(unsigned bytes) {
    char head[64];
    std::string line;
    for (unsigned i = 0; i < bytes; ++i) {
        if (i % 16 == 0) {
            if (i > 0) {
                Line(line);
            }
            std::snprintf(head, sizeof(head), "[MNTR]  %s%04x ] ", text::kDumpHead, i);
            line = head;
        }
        if (i % 8 == 0) {
            line += ' ';
        }
        std::snprintf(head, sizeof(head), "%02x ", (i * 7 + 3) & 0xFF);
        line += head;
    }
    Line(line);
}

// One frame: "[----]", entry, `transportCalls` timed calls of `procedure`, the exit.
// A failing frame writes the chain of a camera procedure's failure passed up through
// two class frames before its exit line.
void GeneratedLog::Frame(const std::string& tag, const std::string& name, unsigned transportCalls,
                         const std::string& procedure, long result, unsigned ms) {
    Line(text::kSeparator);
    Line(tag + " " + name);
    const unsigned step = transportCalls > 0 ? ms / (transportCalls + 1) : ms;
    for (unsigned i = 0; i < transportCalls; ++i) {
        _clock += step;
        Line(std::string(text::kTimingTag) + "      0 msec." + text::kTimingCamera + "0" + text::kTimingLabel +
             "Evnt : " + procedure);
        ++_expected.transport[procedure];
        Line("[VALU] PropertyName - PROP_" + std::to_string(i));
    }
    _clock += step;
    if (result != 0) {
        Line(std::string(text::kFailure) + "[EVNT] " + procedure);
        Line(std::string(text::kFailure) + "[FUNC] CProperty::Get");
        Line(std::string(text::kFailure) + "[FUNC] CPublicProperty::Get");
    }
    Line(tag + " " + name + text::kExitResult + std::to_string(result));
}

void GeneratedLog::AddProcess(unsigned rounds, unsigned failEvery, unsigned dumpBytes,
                              std::uint32_t clockStart) {
    ++_expected.processes;
    _clock = clockStart;
    Line(text::kBannerRule);
    Line(std::string(text::kBannerTitle) + text::kCoreModule + " " + text::kBannerLoad);
    Line(text::kBannerRule);
    _lines.push_back(kvtlog::FormatTimeStamp(_clock, text::kStampWidth) + text::kCurrentTime +
                     "Thu Dec 10 14:42:21 2026");
    Restart();
    Line(text::kBannerRule);
    Line(std::string(text::kBannerTitle) + "KvtQ517.dll " + text::kBannerLoad);
    Line(text::kBannerRule);
    Frame("[FUNC]", "Initialize", 0, "", 0, 80);
    for (unsigned round = 1; round <= rounds; ++round) {
        Restart();
        Frame("[KVTI]", "KVT_OpenDevice", 0, "", 0, 25);
        ++_expected.exports["KVT_OpenDevice"];
        // Execute exports with the procedure's frame inside.
        auto execute = [&](const std::string& procedure, unsigned calls, long result, unsigned ms) {
            Line(text::kSeparator);
            Line("[KVTI] KVT_ExecuteEventProcS");
            Frame("[FUNC]", procedure, calls, "FA_GetProperty", result, ms);
            if (result != 0) {
                Line(std::string(text::kFailure) + "[FUNC] " + procedure);
            }
            Line("[EVND] ElapsedTime   =     " + std::to_string(ms) + " msec.");
            Line(std::string("[KVTI] KVT_ExecuteEventProcS") + text::kExitResult + std::to_string(result));
            ++_expected.exports["KVT_ExecuteEventProcS"];
            ++_expected.procedures[procedure];
            if (result != 0) {
                ++_expected.failures;
            }
        };
        execute("GetBodyID", 1, 0, 12);
        execute("LoadPropertyData", 40, 0, 500);
        if (failEvery != 0 && round % failEvery == 0) {
            execute("GetIcuFirmwareVersion", 1, 1, 9);
        }
        // A monitor read: no frame lines of its own, a dump.
        _clock += 2;
        Line("[MNTR] ReadMemory - Address 0x00001015, Size " + std::to_string(dumpBytes));
        Dump(dumpBytes);
        Frame("[KVTI]", "KVT_ReleaseAndTransfer", 3, "FA_RemoteRelease", 0, 120);
        ++_expected.exports["KVT_ReleaseAndTransfer"];
        Frame("[KVTI]", "KVT_CloseDevice", 0, "", 0, 2);
        ++_expected.exports["KVT_CloseDevice"];
    }
    Line(text::kBannerRule);
    Line(std::string(text::kBannerTitle) + "KvtQ517.dll " + text::kBannerUnload);
    Line(text::kBannerRule);
    Line(text::kBannerRule);
    Line(std::string(text::kBannerTitle) + text::kCoreModule + " " + text::kBannerUnload);
    Line(text::kBannerRule);
}

std::string GeneratedLog::Text(bool crLf) const {
    std::string out;
    for (const std::string& line : _lines) {
        out += line;
        out += crLf ? "\r\n" : "\n";
    }
    return out;
}

std::vector<std::string> GeneratedLog::Interleave(const std::vector<std::string>& a,
                                                  const std::vector<std::string>& b, std::size_t run) {
    std::vector<std::string> out;
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        for (std::size_t k = 0; k < run && i < a.size(); ++k) {
            out.push_back(a[i++]);
        }
        for (std::size_t k = 0; k < run && j < b.size(); ++k) {
            out.push_back(b[j++]);
        }
    }
    return out;
}

}  // namespace logreporttest
