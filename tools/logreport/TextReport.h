// The text summary that KvtLogReport prints.
#pragma once

#include <cstdio>
#include <string>

#include "tools/logreport/Summary.h"

namespace logreport {

void WriteTextReport(std::FILE* out, const std::string& logName, const Summary& summary);

// The notes as sentences, one per item (shared with the HTML page).
std::vector<std::string> NoteLines(const Notes& notes);

// Rows of a table in the order the report shows them: most total time first.
std::vector<const StatsTable::value_type*> ByTotalTime(const StatsTable& table);

}  // namespace logreport
