#include "tools/logreport/LogLine.h"

#include <climits>

#include "common/LogTexts.h"
#include "factory_api/MemoryDiagnostics.h"

namespace logreport {
namespace {

namespace text = kvtlog::text;

constexpr std::size_t kTagLength = 6;   // "[FUNC]"

bool StartsWith(std::string_view s, std::string_view head) {
    return s.size() >= head.size() && s.compare(0, head.size(), head) == 0;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsDigit(c) || c == '_' ||
           c == ':' || c == '.' || c == '~';
}

bool IsName(std::string_view s) {
    if (s.empty()) {
        return false;
    }
    for (char c : s) {
        if (!IsNameChar(c)) {
            return false;
        }
    }
    return true;
}

bool HasControlBytes(std::string_view s) {
    for (char c : s) {
        const unsigned char u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t') || u == 0x7F) {
            return true;
        }
    }
    return false;
}

// Decimal digits with an optional minus sign that fit a long.
bool ParseSigned(std::string_view s, long& value) {
    bool negative = false;
    if (!s.empty() && s[0] == '-') {
        negative = true;
        s.remove_prefix(1);
    }
    if (s.empty() || s.size() > 10) {
        return false;
    }
    long long v = 0;
    for (char c : s) {
        if (!IsDigit(c)) {
            return false;
        }
        v = v * 10 + (c - '0');
    }
    v = negative ? -v : v;
    if (v < LONG_MIN || v > LONG_MAX) {
        return false;
    }
    value = static_cast<long>(v);
    return true;
}

bool ParseUnsigned(std::string_view s, std::uint32_t& value) {
    if (s.empty() || s.size() > 10) {
        return false;
    }
    std::uint64_t v = 0;
    for (char c : s) {
        if (!IsDigit(c)) {
            return false;
        }
        v = v * 10 + static_cast<unsigned>(c - '0');
    }
    if (v > 0xFFFFFFFFull) {
        return false;
    }
    value = static_cast<std::uint32_t>(v);
    return true;
}

bool IsHexFragment(std::string_view s) {
    bool digit = false;
    for (char c : s) {
        if (IsDigit(c) || (c >= 'a' && c <= 'f')) {
            digit = true;
        } else if (c != ' ') {
            return false;
        }
    }
    return digit;
}

// "[FUNC] <entry>" or "[FUNC] <entry> - <result>", the same with "[KVTI]".
void ParseFrameLine(LogLine& line, std::string_view rest) {
    if (IsName(rest)) {
        line.kind = LineKind::Entry;
        line.name = rest;
        return;
    }
    const std::size_t dash = rest.rfind(text::kExitResult);
    long result = 0;
    if (dash == std::string_view::npos ||
        !ParseSigned(rest.substr(dash + std::string_view(text::kExitResult).size()), result)) {
        return;
    }
    std::string_view entry = rest.substr(0, dash);
    std::string_view detail;
    const std::size_t colon = entry.find(text::kExitDetail);
    if (colon != std::string_view::npos) {
        detail = entry.substr(colon + std::string_view(text::kExitDetail).size());
        entry = entry.substr(0, colon);
    }
    if (!IsName(entry)) {
        return;
    }
    line.kind = LineKind::Exit;
    line.name = entry;
    line.detail = detail;
    line.result = result;
}

// "[TIME] <ms> msec. : Camera[<i>] : <label>"
void ParseTiming(LogLine& line, std::string_view rest) {
    std::size_t i = 0;
    while (i < rest.size() && rest[i] == ' ') {
        ++i;
    }
    const std::size_t digits = i;
    while (i < rest.size() && IsDigit(rest[i])) {
        ++i;
    }
    std::uint32_t ms = 0;
    if (!ParseUnsigned(rest.substr(digits, i - digits), ms)) {
        return;
    }
    rest.remove_prefix(i);
    const std::string_view unit = text::kTimingUnit;
    const std::string_view camera = text::kTimingCamera;
    if (!StartsWith(rest, unit) || !StartsWith(rest.substr(unit.size()), camera)) {
        return;
    }
    rest.remove_prefix(unit.size() + camera.size());
    const std::size_t close = rest.find(text::kTimingLabel);
    std::uint32_t index = 0;
    if (close == std::string_view::npos || !ParseUnsigned(rest.substr(0, close), index)) {
        return;
    }
    line.kind = LineKind::Timing;
    line.milliseconds = ms;
    line.camera = index;
    line.name = rest.substr(close + std::string_view(text::kTimingLabel).size());
}

void ParseBody(LogLine& line) {
    const std::string_view body = line.body;
    if (body == text::kSeparator) {
        line.kind = LineKind::Separator;
        return;
    }
    if (body == text::kBannerRule) {
        line.kind = LineKind::BannerRule;
        return;
    }
    if (body == kvtq517::kProcessMemoryInfoHeading || body == kvtq517::kGlobalMemoryStatusHeading) {
        line.kind = LineKind::Heading;
        return;
    }
    if (StartsWith(body, text::kCurrentTime)) {
        line.kind = LineKind::CurrentTime;
        line.detail = body.substr(std::string_view(text::kCurrentTime).size());
        return;
    }
    if (StartsWith(body, text::kBannerTitle)) {
        const std::string_view title = body.substr(std::string_view(text::kBannerTitle).size());
        const std::size_t blank = title.rfind(' ');
        if (blank != std::string_view::npos && blank > 0) {
            const std::string_view event = title.substr(blank + 1);
            if (event == text::kBannerLoad || event == text::kBannerUnload) {
                line.kind = LineKind::BannerTitle;
                line.name = title.substr(0, blank);
                line.detail = event;
                line.load = event == text::kBannerLoad;
                return;
            }
        }
    }
    if (body.size() < kTagLength + 1 || body[0] != '[' || body[kTagLength - 1] != ']') {
        return;
    }
    const std::string_view tag = body.substr(0, kTagLength);
    std::string_view rest = body.substr(kTagLength);
    if (StartsWith(rest, "  ") || StartsWith(rest, " ")) {
        std::string_view trimmed = rest;
        while (!trimmed.empty() && trimmed[0] == ' ') {
            trimmed.remove_prefix(1);
        }
        if (StartsWith(trimmed, text::kDumpHead)) {
            line.kind = LineKind::Dump;
            return;
        }
    }
    if (tag == text::kFailureTag) {
        line.kind = LineKind::Failure;
        line.name = StartsWith(body, text::kFailure)
                        ? body.substr(std::string_view(text::kFailure).size())
                        : body.substr(kTagLength + (rest.empty() ? 0 : 1));
        return;
    }
    if (StartsWith(body, text::kTimingTag)) {
        ParseTiming(line, body.substr(std::string_view(text::kTimingTag).size()));
        return;
    }
    const bool exportTag = tag == text::kExportTag;
    if ((exportTag || tag == text::kFunctionTag) && StartsWith(rest, " ")) {
        line.exportTag = exportTag;
        ParseFrameLine(line, rest.substr(1));
    }
}

}  // namespace

std::size_t ParseStamp(std::string_view s, std::size_t at, std::uint32_t& stamp) {
    const std::size_t width = text::kStampWidth;
    const std::string_view end = text::kStampEnd;
    if (s.size() < at + width + end.size() || s.compare(at + width, end.size(), end) != 0) {
        return 0;
    }
    std::size_t i = at;
    while (i < at + width && s[i] == ' ') {
        ++i;
    }
    if (!ParseUnsigned(s.substr(i, at + width - i), stamp)) {
        return 0;
    }
    return at + width + end.size();
}

LogLine ParseLine(std::string_view s) {
    LogLine line;
    line.body = s;
    if (s.empty()) {
        line.kind = LineKind::Empty;
        return line;
    }
    if (HasControlBytes(s)) {
        line.kind = LineKind::Damaged;
        return line;
    }
    if (s == text::kTimerRestart) {
        line.kind = LineKind::Restart;
        return line;
    }
    const std::size_t after = ParseStamp(s, 0, line.stamp);
    if (after == 0) {
        line.kind = IsHexFragment(s) ? LineKind::DumpFragment : LineKind::Unstamped;
        return line;
    }
    line.stamped = true;
    line.body = s.substr(after);
    line.kind = LineKind::Text;
    ParseBody(line);
    return line;
}

}  // namespace logreport
