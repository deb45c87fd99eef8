#include "tools/logreport/LogTextSection.h"

namespace logreport {
namespace {

constexpr char kChunkStart[] = "<script type=\"application/json\" class=\"kvt-rows\">[";
constexpr char kChunkEnd[] = "]</script>\n";

}  // namespace

char RowKind(const LineRecord& r) {
    switch (r.kind) {
    case LineKind::Failure: return 'e';
    case LineKind::Exit: return r.failing ? 'x' : 'o';
    case LineKind::Entry: return 'n';
    case LineKind::Timing: return 't';
    case LineKind::Dump:
    case LineKind::DumpFragment: return 'd';
    case LineKind::BannerRule:
    case LineKind::BannerTitle:
    case LineKind::CurrentTime: return 'b';
    case LineKind::Restart: return 'r';
    case LineKind::Damaged:
    case LineKind::Unstamped: return 'z';
    default: return 'v';
    }
}

std::string LogTextSection::Row(std::uint64_t line, char kind, unsigned lane, std::string_view bytes) {
    std::string row = "[" + std::to_string(line) + ",\"" + kind + "\"," + std::to_string(lane) + ",";
    AppendJsonString(row, _text.Utf8(bytes));
    row += "]";
    return row;
}

void LogTextSection::Emit(const std::string& row) {
    if (_chunkRows == 0) {
        _chunk = kChunkStart;
    } else {
        _chunk += ',';
    }
    _chunk += row;
    ++_chunkRows;
    ++_rows;
    if (_chunkRows == kRowsPerChunk) {
        _chunk += kChunkEnd;
        _out.Write(_chunk);
        _chunkRows = 0;
    }
}

bool LogTextSection::Allowed(char kind) const {
    if (_rows < kAllRows) {
        return true;
    }
    if (_rows < kStructureRows) {
        return kind == 'e' || kind == 'x' || kind == 'o' || kind == 'n' || kind == 'b' ||
               kind == 'r' || kind == 'z';
    }
    if (_rows < kFailureRows) {
        return kind == 'e' || kind == 'x';
    }
    return false;
}

void LogTextSection::Omit(std::uint64_t line) {
    ++_omitted;
    if (_gapCount == 0) {
        _gapFirst = line;
    }
    ++_gapCount;
    _gapLast = line;
}

void LogTextSection::FlushGap() {
    if (_gapCount == 0) {
        return;
    }
    const std::string text = "... " + std::to_string(_gapCount) + " lines not shown (lines " +
                             std::to_string(_gapFirst) + "-" + std::to_string(_gapLast) +
                             "): the page keeps its size; they are in the log file";
    _gapCount = 0;
    Emit(Row(_gapFirst, 'g', 0, text));
}

void LogTextSection::EndDump() {
    _dumpShown = 0;
    if (_foldCount == 0) {
        return;
    }
    if (_foldCount <= kFoldMinimum) {
        for (const std::string& row : _foldRows) {
            Emit(row);
        }
    } else {
        ++_folded;
        std::string text = "... " + std::to_string(_foldCount) + " more dump lines folded (lines " +
                           std::to_string(_foldFirst) + "-" + std::to_string(_foldLast) + ")";
        if (_foldCount > _foldRows.size()) {
            text += ": the first " + std::to_string(_foldRows.size()) + " unfold, the rest are in the log file";
        }
        std::string row = Row(_foldFirst, 'f', _foldLane, text);
        row.pop_back();
        row += ",[";
        for (std::size_t i = 0; i < _foldRows.size(); ++i) {
            row += (i == 0 ? "" : ",") + _foldRows[i];
        }
        row += "]]";
        Emit(row);
        _rows += _foldRows.size();   // the rows inside count against the page's budget
    }
    _foldRows.clear();
    _foldCount = 0;
}

void LogTextSection::Add(const LineRecord& record) {
    const char kind = RowKind(record);
    if (kind == 'd') {
        if (!Allowed(kind)) {
            Omit(record.number);
            return;
        }
        if (_dumpShown < kDumpHead && _foldCount == 0) {
            FlushGap();
            ++_dumpShown;
            Emit(Row(record.number, kind, record.lane, record.text));
            return;
        }
        if (_foldCount == 0) {
            _foldFirst = record.number;
            _foldLane = record.lane;
        }
        ++_foldCount;
        _foldLast = record.number;
        if (_foldRows.size() < kFoldKept) {
            _foldRows.push_back(Row(record.number, kind, record.lane, record.text));
        }
        return;
    }
    EndDump();
    if (!Allowed(kind)) {
        Omit(record.number);
        return;
    }
    FlushGap();
    Emit(Row(record.number, kind, record.lane, record.text));
}

void LogTextSection::Finish() {
    EndDump();
    FlushGap();
    if (_chunkRows > 0) {
        _chunk += kChunkEnd;
        _out.Write(_chunk);
        _chunkRows = 0;
    }
}

}  // namespace logreport
