#include "tools/logreport/CommitSplitter.h"

#include <cstdint>

#include "common/LogTexts.h"
#include "tools/logreport/LogLine.h"

namespace logreport {
namespace {

namespace text = kvtlog::text;

// Where the next commit begins inside `line`, after position `from`; npos if nowhere.
std::size_t NextCommit(std::string_view line, std::size_t from) {
    const std::string_view end = text::kStampEnd;
    const std::size_t width = text::kStampWidth;
    std::size_t best = line.find(text::kTimerRestart, from + 1);
    for (std::size_t p = line.find(end, from + width); p != std::string_view::npos && p < best;
         p = line.find(end, p + 1)) {
        std::uint32_t stamp = 0;
        const std::size_t field = p - width;
        if (field > from && p + end.size() < line.size() && line[p + end.size()] == '[' &&
            ParseStamp(line, field, stamp) != 0) {
            best = field;
            break;
        }
    }
    return best;
}

}  // namespace

void SplitCommits(std::string_view line, std::vector<std::string_view>& pieces) {
    pieces.clear();
    std::size_t start = 0;
    for (;;) {
        const std::size_t next = NextCommit(line, start);
        if (next == std::string_view::npos) {
            pieces.push_back(line.substr(start));
            return;
        }
        pieces.push_back(line.substr(start, next - start));
        start = next;
    }
}

}  // namespace logreport
