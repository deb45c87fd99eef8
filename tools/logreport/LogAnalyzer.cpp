#include "tools/logreport/LogAnalyzer.h"

#include <cstdio>
#include <cstring>

#include "common/LogTexts.h"
#include "common/Win32.h"
#include "tools/logreport/CommitSplitter.h"
#include "tools/logreport/ExportNames.h"

namespace logreport {
namespace {

namespace text = kvtlog::text;

// A transport label is "<kind> : <name>"; this kind names a camera-side procedure,
// the other one a transport function.
constexpr std::string_view kProcedureLabel = "Evnt";
constexpr std::string_view kLabelSeparator = " : ";

void Example(std::vector<std::uint64_t>& examples, std::uint64_t number) {
    if (examples.size() < Notes::kExamples) {
        examples.push_back(number);
    }
}

}  // namespace

std::int64_t AscTimeSeconds(std::string_view s) {
    static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    char month[4] = {};
    char weekday[4] = {};
    int day = 0, hour = 0, minute = 0, second = 0, year = 0;
    const std::string text(s.substr(0, 40));
    if (std::sscanf(text.c_str(), "%3s %3s %d %d:%d:%d %d", weekday, month, &day, &hour, &minute,
                    &second, &year) != 7) {
        return -1;
    }
    const char* at = std::strstr(kMonths, month);
    if (at == nullptr || (at - kMonths) % 3 != 0 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 60 || year < 1601 || year > 30827) {
        return -1;
    }
    SYSTEMTIME when{};
    when.wYear = static_cast<WORD>(year);
    when.wMonth = static_cast<WORD>((at - kMonths) / 3 + 1);
    when.wDay = static_cast<WORD>(day);
    when.wHour = static_cast<WORD>(hour);
    when.wMinute = static_cast<WORD>(minute);
    when.wSecond = static_cast<WORD>(second > 59 ? 59 : second);
    FILETIME file{};
    if (!::SystemTimeToFileTime(&when, &file)) {
        return -1;   // a day the month does not have
    }
    const std::uint64_t ticks = (static_cast<std::uint64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
    return static_cast<std::int64_t>(ticks / 10000000u);   // seconds since 1601
}

void LogAnalyzer::Feed(const RawLine& raw) {
    ++_notes.lines;
    if (raw.cut) {
        ++_notes.cutLines;
    }
    if (raw.torn) {
        _notes.tornLastLine = true;
        _notes.tornLine = raw.number;
    }
    SplitCommits(raw.text, _pieces);
    if (_pieces.size() > 1) {
        ++_notes.mixedLines;
    }
    for (std::string_view piece : _pieces) {
        Handle(piece, raw.number);
    }
}

void LogAnalyzer::Handle(std::string_view textOfLine, std::uint64_t number) {
    const LogLine line = ParseLine(textOfLine);
    LineRecord record;
    record.number = number;
    record.text = textOfLine;
    record.kind = line.kind;
    Lane* previous = _router.Previous();
    record.lane = previous != nullptr ? previous->info.id : 0;
    record.time = previous != nullptr ? previous->now : 0;

    switch (line.kind) {
    case LineKind::Damaged:
        ++_notes.damagedLines;
        Example(_notes.damagedExamples, number);
        break;
    case LineKind::Unstamped:
        ++_notes.unrecognisedLines;
        Example(_notes.unrecognisedExamples, number);
        break;
    case LineKind::Empty:
    case LineKind::DumpFragment:
    case LineKind::BannerRule:
        break;
    case LineKind::Restart: {
        ++_notes.restarts;
        Lane* lane = _router.Restart(number);
        if (lane != nullptr) {
            record.lane = lane->info.id;
            record.time = lane->now;
            _router.SetPrevious(lane);
        }
        break;
    }
    case LineKind::CurrentTime:
        if (previous != nullptr && previous->info.startedAt.empty()) {
            std::string_view when = line.detail;
            while (!when.empty() && (when.back() == ' ' || when.back() == '\n')) {
                when.remove_suffix(1);
            }
            previous->info.startedAt.assign(when.data(), when.size());
            previous->info.wallSeconds = AscTimeSeconds(when);
        }
        break;
    default:
        HandleStamped(line, record);
        break;
    }
    _sink.OnLine(record);
}

void LogAnalyzer::HandleStamped(const LogLine& line, LineRecord& record) {
    Lane* lane = nullptr;
    if (line.kind == LineKind::BannerTitle && line.load && line.name == text::kCoreModule) {
        Lane* before = _router.Previous();
        lane = &_router.Begin(record.number);
        if (before != nullptr) {
            lane->info.after = before->info.id;
            lane->info.afterTime = before->now;
        }
    } else if (line.kind == LineKind::Exit) {
        // The lane whose innermost frame it closes, else one that has it open.
        const std::string_view name = line.name;
        bool onTop = false;
        for (const auto& l : _router.Live()) {
            onTop = onTop || OperationPairing::HasOnTop(*l, name);
        }
        lane = &_router.Route(line.stamp, record.number, [name, onTop](const Lane& l) {
            return onTop ? OperationPairing::HasOnTop(l, name) : OperationPairing::HasOpen(l, name);
        });
    } else if (line.kind == LineKind::Entry && IsExportName(line.name)) {
        // A program calls one export at a time: an export goes where none is open.
        lane = &_router.Route(line.stamp, record.number,
                              [](const Lane& l) { return !OperationPairing::HasExportOpen(l); });
    } else if (line.kind == LineKind::Failure) {
        // A failure line belongs in an open frame where there is one.
        lane = &_router.Route(line.stamp, record.number, [](const Lane& l) { return !l.stack.empty(); });
    } else {
        lane = &_router.Route(line.stamp, record.number);
    }
    _router.Advance(*lane, line.stamp, record.number);
    record.lane = lane->info.id;
    record.time = lane->now;
    if (lane->stack.empty() && !lane->idle) {
        lane->idle = true;
        lane->idleSince = lane->now;
    }

    switch (line.kind) {
    case LineKind::Entry:
        _pairing.Entry(*lane, line, record.number, _router.Live().size() > 1);
        break;
    case LineKind::Exit:
        _pairing.Exit(*lane, line, record.number);
        record.failing = line.result != 0;
        break;
    case LineKind::Failure:
        _pairing.FailureLine(*lane, line.body, record.number);
        record.failing = true;
        break;
    case LineKind::Timing: {
        _pairing.OtherLine(*lane);
        TransportCall call;
        call.lane = lane->info.id;
        call.camera = line.camera;
        call.milliseconds = line.milliseconds;
        call.name = line.name;
        const std::size_t colon = line.name.find(kLabelSeparator);
        if (colon != std::string_view::npos) {
            call.procedure = line.name.substr(0, colon) == kProcedureLabel;
            call.name = line.name.substr(colon + kLabelSeparator.size());
        }
        _sink.OnTransport(call);
        break;
    }
    case LineKind::BannerTitle:
        _pairing.OtherLine(*lane);
        if (!line.load && line.name == text::kCoreModule) {
            EndLane(*lane);
        }
        break;
    default:
        _pairing.OtherLine(*lane);
        break;
    }
}

void LogAnalyzer::EndLane(Lane& lane) {
    Lane* heir = nullptr;
    for (const auto& l : _router.Live()) {
        if (l.get() != &lane) {
            heir = l.get();
            break;
        }
    }
    _pairing.EndLane(lane, heir);
    _router.End(lane);
    _sink.OnLane(lane.info);
}

void LogAnalyzer::Finish(const LogReader& reader) {
    while (!_router.Live().empty()) {
        Lane& lane = *_router.Live().front();
        _pairing.EndLane(lane);
        lane.info.endSeen = false;
        _router.End(lane);
        lane.info.endSeen = false;
        _sink.OnLane(lane.info);
    }
    _router.DropPendingRestarts();
    _notes.bytes = reader.BytesRead();
    _notes.crLfLines = reader.CrLfLines();
    _notes.readError = reader.ReadError();
    _sink.OnEnd(_notes);
}

}  // namespace logreport
