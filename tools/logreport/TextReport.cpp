#include "tools/logreport/TextReport.h"

#include <algorithm>
#include <cinttypes>

#include "tools/common/ResultMeaning.h"

namespace logreport {
namespace {

std::string LineList(const std::vector<std::uint64_t>& lines, std::uint64_t total) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += (i == 0 ? "" : ", ") + std::to_string(lines[i]);
    }
    if (total > lines.size()) {
        text += ", ...";
    }
    return text;
}

std::string Plural(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::size_t NameWidth(const StatsTable& table) {
    std::size_t width = 30;
    for (const auto& row : table) {
        width = std::max(width, std::min<std::size_t>(row.first.size(), 60));
    }
    return width;
}

void WriteStatsTable(std::FILE* out, const char* title, const StatsTable& table) {
    if (table.empty()) {
        std::fprintf(out, "%s: none\n\n", title);
        return;
    }
    const int width = static_cast<int>(NameWidth(table));
    std::fprintf(out, "%s\n", title);
    std::fprintf(out, "  %-*s %7s %7s %8s %11s %10s %11s\n", width, "name", "count", "failed",
                 "no exit", "total ms", "mean ms", "slowest ms");
    for (const auto* row : ByTotalTime(table)) {
        const OperationStats& s = row->second;
        std::fprintf(out, "  %-*s %7" PRIu64 " %7" PRIu64 " %8" PRIu64 " %11" PRId64 " %10.1f %11" PRId64 "\n",
                     width, row->first.c_str(), s.count, s.failed, s.unpaired, s.total, s.Mean(),
                     s.slowest);
    }
    std::fprintf(out, "\n");
}

void WriteTransportTable(std::FILE* out, const char* title, const TransportTable& table) {
    if (table.empty()) {
        return;
    }
    std::vector<const TransportTable::value_type*> rows;
    for (const auto& row : table) {
        rows.push_back(&row);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](auto* a, auto* b) { return a->second.count > b->second.count; });
    std::fprintf(out, "    %-46s %8s %10s %11s\n", title, "count", "total ms", "slowest ms");
    for (const auto* row : rows) {
        std::fprintf(out, "      %-44s %8" PRIu64 " %10" PRIu64 " %11u\n", row->first.c_str(),
                     row->second.count, row->second.total, static_cast<unsigned>(row->second.slowest));
    }
}

void WriteFailures(std::FILE* out, const Summary& summary) {
    std::fprintf(out, "Failures: %" PRIu64 "\n", summary.FailureCount());
    unsigned n = 0;
    for (const Failure& f : summary.Failures()) {
        ++n;
        if (f.hasResult) {
            std::fprintf(out, "  %u. %s: result %ld (%s)\n", n, f.path.c_str(), f.result,
                         kvttools::ResultMeaning(static_cast<unsigned long>(f.result)));
        } else {
            std::fprintf(out, "  %u. %s: no result logged\n", n, f.path.c_str());
        }
        std::fprintf(out, "     process %u, line %" PRIu64 ", at %" PRId64 " ms\n", f.lane, f.line,
                     f.time);
        if (!f.innermost.empty()) {
            std::fprintf(out, "     failed first in: %s\n", f.innermost.c_str());
        }
        for (const ChainLine& c : f.chain) {
            std::fprintf(out, "       line %-8" PRIu64 " %s\n", c.line, c.text.c_str());
        }
        if (f.chainDropped > 0) {
            std::fprintf(out, "       ... %zu more \"[ERR!]\" lines\n", f.chainDropped);
        }
    }
    if (summary.FailureCount() > summary.Failures().size()) {
        std::fprintf(out, "  ... %" PRIu64 " more failures not listed\n",
                     summary.FailureCount() - summary.Failures().size());
    }
    std::fprintf(out, "\n");
}

void WriteTransport(std::FILE* out, const Summary& summary) {
    if (summary.Transport().empty()) {
        std::fprintf(out, "Transport calls: none\n\n");
        return;
    }
    std::fprintf(out, "Transport calls (\"[TIME]\" lines)\n");
    for (const auto& camera : summary.Transport()) {
        if (camera.first == Summary::kOtherCamera) {
            std::fprintf(out, "  other cameras\n");
        } else {
            std::fprintf(out, "  Camera[%u]\n", camera.first);
        }
        WriteTransportTable(out, "camera-side procedure", camera.second.procedures);
        WriteTransportTable(out, "transport function", camera.second.functions);
    }
    std::fprintf(out, "\n");
}

void WriteProcesses(std::FILE* out, const Summary& summary) {
    std::fprintf(out, "Processes: %" PRIu64 "\n", summary.LaneCount());
    for (const LaneInfo& lane : summary.Lanes()) {
        std::fprintf(out, "  %u. lines %" PRIu64 "-%" PRIu64 ", %s%s, %" PRId64 " ms, %s%s\n", lane.id,
                     lane.firstLine, lane.lastLine,
                     lane.startSeen ? "started " : "started before the log begins",
                     lane.startSeen ? (lane.startedAt.empty() ? "(no time logged)" : lane.startedAt.c_str()) : "",
                     lane.span, Plural(lane.restarts, "timer restart", "timer restarts").c_str(),
                     lane.endSeen ? "" : ", no unload banner (ended or cut off)");
    }
    if (summary.LaneCount() > summary.Lanes().size()) {
        std::fprintf(out, "  ... %" PRIu64 " more\n", summary.LaneCount() - summary.Lanes().size());
    }
    std::fprintf(out, "\n");
}

}  // namespace

std::vector<const StatsTable::value_type*> ByTotalTime(const StatsTable& table) {
    std::vector<const StatsTable::value_type*> rows;
    for (const auto& row : table) {
        rows.push_back(&row);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](auto* a, auto* b) { return a->second.total > b->second.total; });
    return rows;
}

std::vector<std::string> NoteLines(const Notes& n) {
    std::vector<std::string> lines;
    if (n.readError != 0) {
        lines.push_back("reading stopped by error " + std::to_string(n.readError) +
                        "; the report covers what was read");
    }
    if (n.entriesWithoutExit > 0) {
        std::string text = Plural(n.entriesWithoutExit, "entry line has", "entry lines have") +
                           " no exit line (operation cut off, process ended or log cut):";
        for (const auto& e : n.unpairedEntries) {
            text += " " + e.second + " (line " + std::to_string(e.first) + ")";
        }
        if (n.entriesWithoutExit > n.unpairedEntries.size()) {
            text += " ...";
        }
        lines.push_back(text);
    }
    if (n.exitsWithoutEntry > 0) {
        std::string text = Plural(n.exitsWithoutEntry, "exit line has", "exit lines have") +
                           " no entry line (some steps write none); their start is estimated:";
        for (const auto& e : n.exitsWithoutEntryByName) {
            text += " " + e.first + " x" + std::to_string(e.second);
        }
        lines.push_back(text);
    }
    if (n.tornLastLine) {
        lines.push_back("the last line (" + std::to_string(n.tornLine) +
                        ") has no line end: the log was cut while being written");
    }
    if (n.damagedLines > 0) {
        lines.push_back(Plural(n.damagedLines, "damaged line", "damaged lines") +
                        " (control bytes or binary noise) skipped: lines " +
                        LineList(n.damagedExamples, n.damagedLines));
    }
    if (n.unrecognisedLines > 0) {
        lines.push_back(Plural(n.unrecognisedLines, "line", "lines") +
                        " without time stamp not recognised, skipped: lines " +
                        LineList(n.unrecognisedExamples, n.unrecognisedLines));
    }
    if (n.cutLines > 0) {
        lines.push_back(Plural(n.cutLines, "line", "lines") + " longer than 64 KiB: read up to that length");
    }
    if (n.mixedLines > 0) {
        lines.push_back(Plural(n.mixedLines, "line holds", "lines hold") +
                        " the commits of several processes; read as separate lines");
    }
    if (n.contestedLines > 0) {
        lines.push_back(Plural(n.contestedLines, "line was", "lines were") +
                        " written while several processes were running; each was given to the "
                        "process whose clock it continues");
    }
    if (n.unattributedRestarts > 0) {
        lines.push_back(Plural(n.unattributedRestarts, "timer restart", "timer restarts") +
                        " could not be given to a process");
    }
    if (n.tooDeep > 0) {
        lines.push_back(Plural(n.tooDeep, "frame", "frames") + " nested deeper than 64 levels: not followed");
    }
    if (n.failuresNotKept > 0) {
        lines.push_back(Plural(n.failuresNotKept, "nested failure", "nested failures") +
                        " beyond the kept ones per frame: not listed");
    }
    return lines;
}

void WriteTextReport(std::FILE* out, const std::string& logName, const Summary& summary) {
    const Notes& n = summary.GetNotes();
    std::fprintf(out, "KvtLogReport: %s\n", logName.c_str());
    std::fprintf(out, "  %s, %s, %s, %s, %s with CR LF\n\n", Plural(n.lines, "line", "lines").c_str(),
                 Plural(n.bytes, "byte", "bytes").c_str(),
                 Plural(summary.LaneCount(), "process", "processes").c_str(),
                 Plural(n.restarts, "timer restart", "timer restarts").c_str(),
                 Plural(n.crLfLines, "line", "lines").c_str());
    WriteStatsTable(out, "Exported operations", summary.Exports());
    WriteStatsTable(out, "Event procedures (as run by the execute exports)", summary.Procedures());
    WriteFailures(out, summary);
    WriteTransport(out, summary);
    WriteStatsTable(out, "Library steps", summary.Steps());
    WriteProcesses(out, summary);
    const std::vector<std::string> notes = NoteLines(n);
    if (notes.empty()) {
        std::fprintf(out, "Notes: every line was read and every frame paired\n");
    } else {
        std::fprintf(out, "Notes: what could not be read or paired\n");
        for (const std::string& line : notes) {
            std::fprintf(out, "  - %s\n", line.c_str());
        }
    }
}

}  // namespace logreport
