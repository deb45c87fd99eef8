#include "tools/logreport/HtmlReport.h"

#include <cinttypes>
#include <cstdio>

#include "include/kvt_results.h"
#include "tools/logreport/PageAssets.h"
#include "tools/common/ResultMeaning.h"
#include "tools/logreport/TextReport.h"

namespace logreport {
namespace {

std::string Number(std::uint64_t v) {
    return std::to_string(v);
}

std::string Fixed(double v) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f", v);
    return text;
}

std::string GoTo(std::uint64_t line, std::uint64_t op, const std::string& text) {
    return "<a class=\"goto\" data-line=\"" + Number(line) + "\"" +
           (op != 0 ? " data-op=\"" + Number(op) + "\"" : std::string()) + ">" + text + "</a>";
}

}  // namespace

std::string HtmlReport::Html(std::string_view logBytes) {
    std::string out;
    AppendHtml(out, _text.Utf8(logBytes));
    return out;
}

bool HtmlReport::Begin(const std::string& path, const std::string& logName, unsigned long& error) {
    if (!_out.Create(path, error)) {
        return false;
    }
    _logName = logName;
    Put("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>KvtLogReport: " +
        Html(logName) + "</title>\n<style>" + kPageStyle + "</style>\n</head>\n<body>\n<main id=\"page\">\n");
    Put("<section id=\"logtext\"><h2>Log text</h2>\n<div class=\"controls\"><label><input type=\"checkbox\" "
        "id=\"only-failing\"> failing lines only</label> <span class=\"muted\">Click a bar of the "
        "timeline to pick out its lines; click a folded dump to unfold it.</span></div>\n"
        "<div id=\"logview\"></div>\n");
    return true;
}

void HtmlReport::WriteHeader(const Summary& summary) {
    const Notes& n = summary.GetNotes();
    std::string h = "<header><h1>KvtLogReport: " + Html(_logName) + "</h1>\n<p>";
    if (summary.FailureCount() > 0) {
        h += "<span class=\"badge fail\" id=\"failure-count\">" + Number(summary.FailureCount()) +
             (summary.FailureCount() == 1 ? " failure" : " failures") + "</span>";
    } else {
        h += "<span class=\"badge ok\" id=\"failure-count\">no failures</span>";
    }
    const std::vector<std::string> notes = NoteLines(n);
    if (!notes.empty()) {
        h += "<span class=\"badge warn\">" + Number(notes.size()) + (notes.size() == 1 ? " note" : " notes") +
             " on what could not be read or paired</span>";
    }
    h += "<span class=\"muted\">" + Number(n.lines) + " lines, " + Number(n.bytes) + " bytes, " +
         Number(summary.LaneCount()) + (summary.LaneCount() == 1 ? " process, " : " processes, ") +
         Number(n.restarts) + " timer restarts, " + Number(summary.OperationCount()) + " frames</span></p>\n</header>\n";
    Put(h);
    Put("<section id=\"timeline-section\"><h2>Timeline</h2>\n<div class=\"controls\"><button id=\"zoom-in\">zoom in"
        "</button><button id=\"zoom-out\">zoom out</button><button id=\"zoom-fit\">fit</button> "
        "<span class=\"legend\"><span><i style=\"background:#2e7d6b\"></i>exported operation</span>"
        "<span><i style=\"background:#3b6fb6\"></i>event procedure</span><span><i style=\"background:#7a8aa0\">"
        "</i>library step</span><span><i style=\"background:#c62828\"></i>failed</span><span><i "
        "style=\"background:#e08a00\"></i>no exit line</span><span>dashed: timer restart</span></span> "
        "<span class=\"muted\" id=\"timeline-note\"></span></div>\n<div id=\"timeline\"></div>\n"
        "<div id=\"details\" class=\"muted\">Click a bar for its result, time and log lines.</div>\n</section>\n");
}

void HtmlReport::WriteStats(const char* id, const char* title, const StatsTable& table, const char* empty) {
    std::string h = std::string("<section id=\"") + id + "\"><h2>" + title + "</h2>\n";
    if (table.empty()) {
        Put(h + "<p class=\"muted\">" + empty + "</p></section>\n");
        return;
    }
    h += "<table><thead><tr><th class=\"name\">name</th><th>count</th><th>failed</th><th>no exit</th>"
         "<th>total ms</th><th>mean ms</th><th>slowest ms</th></tr></thead><tbody>\n";
    for (const auto* row : ByTotalTime(table)) {
        const OperationStats& s = row->second;
        const std::string name = Html(row->first);
        h += "<tr" + std::string(s.failed > 0 ? " class=\"has-fail\"" : "") + " data-name=\"" + name +
             "\"><td class=\"name\">" + name + "</td><td class=\"count\">" + Number(s.count) +
             "</td><td class=\"failed\">" + Number(s.failed) + "</td><td class=\"unpaired\">" +
             Number(s.unpaired) + "</td><td class=\"total\">" + std::to_string(s.total) + "</td><td>" +
             Fixed(s.Mean()) + "</td><td>" +
             (s.slowestLine != 0 ? GoTo(s.slowestLine, s.slowestId, std::to_string(s.slowest))
                                 : std::to_string(s.slowest)) +
             "</td></tr>\n";
    }
    Put(h + "</tbody></table></section>\n");
}

void HtmlReport::WriteFailures(const Summary& summary) {
    std::string h = "<section id=\"failures\"><h2>Failures (" + Number(summary.FailureCount()) + ")</h2>\n";
    if (summary.FailureCount() == 0) {
        Put(h + "<p class=\"muted\">No operation failed.</p></section>\n");
        return;
    }
    for (const Failure& f : summary.Failures()) {
        h += "<div class=\"failure\" data-name=\"" + Html(f.name) + "\" data-result=\"" +
             (f.hasResult ? std::to_string(f.result) : std::string()) + "\"><b>" + Html(f.path) + "</b>: ";
        h += f.hasResult ? "result " + std::to_string(f.result) + " (" + Html(kvttools::ResultMeaning(static_cast<unsigned long>(f.result))) + ")"
                         : std::string("no result logged");
        h += " <span class=\"muted\">process " + std::to_string(f.lane) + ", at " + std::to_string(f.time) +
             " ms, " + GoTo(f.line, f.operation, "line " + Number(f.line)) + "</span>";
        if (!f.innermost.empty()) {
            h += "<br>failed first in <b>" + Html(f.innermost) + "</b>";
        }
        h += "<div class=\"chain\">";
        for (const ChainLine& c : f.chain) {
            h += GoTo(c.line, 0, Number(c.line)) + "  " + Html(c.text) + "\n";
        }
        if (f.chainDropped > 0) {
            h += "... " + Number(f.chainDropped) + " more \"[ERR!]\" lines\n";
        }
        h += "</div></div>\n";
        if (h.size() > 256 * 1024) {
            Put(h);
            h.clear();
        }
    }
    if (summary.FailureCount() > summary.Failures().size()) {
        h += "<p class=\"muted\">... " + Number(summary.FailureCount() - summary.Failures().size()) +
             " more failures not listed.</p>";
    }
    Put(h + "</section>\n");
}

void HtmlReport::WriteTransport(const Summary& summary) {
    std::string h = "<section id=\"transport\"><h2>Transport calls</h2>\n";
    if (summary.Transport().empty()) {
        Put(h + "<p class=\"muted\">No \"[TIME]\" lines.</p></section>\n");
        return;
    }
    h += "<table><thead><tr><th class=\"name\">camera, procedure or transport function</th><th>count</th>"
         "<th>total ms</th><th>slowest ms</th></tr></thead><tbody>\n";
    auto rows = [&](const std::string& camera, const char* kind, const TransportTable& table) {
        for (const auto& row : table) {
            const std::string name = Html(row.first);
            h += "<tr data-camera=\"" + camera + "\" data-kind=\"" + kind + "\" data-name=\"" + name +
                 "\"><td class=\"name\">" + (camera == "other" ? "other cameras" : "Camera[" + camera + "]") +
                 " " + kind + " <b>" + name + "</b></td><td class=\"count\">" + Number(row.second.count) +
                 "</td><td>" + Number(row.second.total) + "</td><td>" + Number(row.second.slowest) + "</td></tr>\n";
        }
    };
    for (const auto& camera : summary.Transport()) {
        const std::string index = camera.first == Summary::kOtherCamera ? "other" : std::to_string(camera.first);
        rows(index, "procedure", camera.second.procedures);
        rows(index, "function", camera.second.functions);
    }
    Put(h + "</tbody></table></section>\n");
}

void HtmlReport::WriteProcesses(const Summary& summary) {
    std::string h = "<section id=\"processes\"><h2>Processes (" + Number(summary.LaneCount()) + ")</h2>\n"
                    "<table><thead><tr><th class=\"name\">process</th><th>lines</th><th>time axis ms</th>"
                    "<th>timer restarts</th><th>unload banner</th></tr></thead><tbody>\n";
    for (const LaneInfo& lane : summary.Lanes()) {
        h += "<tr><td class=\"name\">" + std::to_string(lane.id) + ": " +
             (lane.startSeen ? (lane.startedAt.empty() ? std::string("started") : "started " + Html(lane.startedAt))
                             : std::string("started before the log begins")) +
             "</td><td>" + GoTo(lane.firstLine, 0, Number(lane.firstLine)) + "-" + Number(lane.lastLine) +
             "</td><td>" + std::to_string(lane.span) + "</td><td>" + std::to_string(lane.restarts) + "</td><td>" +
             (lane.endSeen ? "yes" : "no") + "</td></tr>\n";
    }
    Put(h + "</tbody></table></section>\n");
}

void HtmlReport::WriteNotes(const Summary& summary) {
    std::string h = "<section id=\"notes\"><h2>Notes</h2>\n";
    const std::vector<std::string> notes = NoteLines(summary.GetNotes());
    if (notes.empty()) {
        h += "<p class=\"muted\">Every line was read and every frame paired.</p>";
    } else {
        h += "<ul>";
        for (const std::string& note : notes) {
            h += "<li>" + Html(note) + "</li>";
        }
        h += "</ul>";
    }
    if (_section.Omitted() > 0 || _section.Folded() > 0) {
        h += "<p class=\"muted\">Log text on this page: " + Number(_section.Folded()) + " long dumps folded, " +
             Number(_section.Omitted()) + " lines left out to keep the page fast (they are in the log file).</p>";
    }
    Put(h + "</section>\n");
}

void HtmlReport::WriteData() {
    std::string meanings = "{";
#define LOGREPORT_MEANING_ROW(code, text) \
    meanings += (meanings.size() > 1 ? ",\"" : "\"") + std::to_string(code) + "\":"; \
    AppendJsonString(meanings, text);
    KVT_RESULT_TABLE(LOGREPORT_MEANING_ROW)
#undef LOGREPORT_MEANING_ROW
    meanings += "}";
    Put("<script type=\"application/json\" id=\"kvt-meanings\">" + meanings + "</script>\n");
    Put("<script type=\"application/json\" id=\"kvt-timeline\">" + _timeline.Json(_text) + "</script>\n");
    Put(std::string("<script>") + kPageScript + "</script>\n");
}

bool HtmlReport::End(const Summary& summary, unsigned long& error) {
    _section.Finish();
    Put("</section>\n");
    WriteHeader(summary);
    WriteFailures(summary);
    WriteStats("exports", "Exported operations", summary.Exports(), "No exported operation in the log.");
    WriteStats("procedures", "Event procedures (as run by the execute exports)", summary.Procedures(),
               "No event procedure was run.");
    WriteTransport(summary);
    WriteStats("steps", "Library steps", summary.Steps(), "No other frames.");
    WriteProcesses(summary);
    WriteNotes(summary);
    WriteData();
    Put("</main>\n</body>\n</html>\n");
    return _out.Close(error);
}

}  // namespace logreport
