// The log text of the page, written while the log is read: rows of JSON in script
// elements of 2,000 rows each, which the page's script shows a screenful at a time.
// A dump longer than a few lines is folded into one row (its first lines can be
// unfolded). The page keeps its size on a large log: past a budget of rows only the
// frame, failure and banner lines are kept, then only the failures; what is left out
// is one row that names the lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/logreport/OutputFile.h"
#include "tools/logreport/PageText.h"
#include "tools/logreport/ReportModel.h"

namespace logreport {

class LogTextSection {
public:
    static constexpr std::uint64_t kAllRows = 150000;        // every line up to here
    static constexpr std::uint64_t kStructureRows = 300000;  // frames, failures, banners
    static constexpr std::uint64_t kFailureRows = 320000;    // failures only
    static constexpr std::size_t kRowsPerChunk = 2000;
    static constexpr std::size_t kDumpHead = 4;              // dump lines shown before a fold
    static constexpr std::size_t kFoldMinimum = 8;           // fewer are not folded
    static constexpr std::size_t kFoldKept = 256;            // lines a fold can show

    LogTextSection(OutputFile& out, PageText& text) : _out(out), _text(text) {}

    void Add(const LineRecord& record);
    void Finish();

    std::uint64_t Rows() const { return _rows; }
    std::uint64_t Omitted() const { return _omitted; }
    std::uint64_t Folded() const { return _folded; }

private:
    std::string Row(std::uint64_t line, char kind, unsigned lane, std::string_view bytes);
    void Emit(const std::string& row);
    void EndDump();
    void Omit(std::uint64_t line);
    void FlushGap();
    bool Allowed(char kind) const;

    OutputFile& _out;
    PageText& _text;
    std::string _chunk;
    std::size_t _chunkRows = 0;
    std::uint64_t _rows = 0;
    std::uint64_t _omitted = 0;
    std::uint64_t _folded = 0;
    // The dump being read.
    std::size_t _dumpShown = 0;
    std::vector<std::string> _foldRows;
    std::uint64_t _foldCount = 0;
    std::uint64_t _foldFirst = 0;
    std::uint64_t _foldLast = 0;
    unsigned _foldLane = 0;
    // Lines left out since the last row.
    std::uint64_t _gapCount = 0;
    std::uint64_t _gapFirst = 0;
    std::uint64_t _gapLast = 0;
};

// The letter of a line's kind on the page: e failure, x failing exit, o exit, n entry,
// t transport timing, d dump, b banner, r timer restart, z damaged or unknown, v other.
char RowKind(const LineRecord& record);

}  // namespace logreport
