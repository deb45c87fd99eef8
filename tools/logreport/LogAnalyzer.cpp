#include "tools/logreport/LogAnalyzer.h"

#include <cstdio>
#include <cstring>

#include "common/LogTexts.h"
#include "tools/logreport/CommitSplitter.h"

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

std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
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
        minute < 0 || minute > 59 || second < 0 || second > 60 || year < 1970 || year > 9999) {
        return -1;
    }
    const unsigned m = static_cast<unsigned>((at - kMonths) / 3 + 1);
    return DaysFromCivil(year, m, static_cast<unsigned>(day)) * 86400 + hour * 3600 + minute * 60 +
           second;
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
        const std::string_view name = line.name;
        lane = &_router.Route(line.stamp, record.number,
                              [name](const Lane& l) { return OperationPairing::HasOpen(l, name); });
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
        _pairing.Entry(*lane, line, record.number);
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
    _pairing.EndLane(lane);
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
