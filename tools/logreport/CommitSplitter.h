// Several processes append to the log at commit granularity, and a data dump commits
// after every byte: another process's lines can land in the middle of a dump line.
// Such a line is cut where the other commit begins (a time stamp followed by a tag,
// or the timer's restart line).
#pragma once

#include <string_view>
#include <vector>

namespace logreport {

// The pieces of `line` in order (just the line when nothing is inside it).
void SplitCommits(std::string_view line, std::vector<std::string_view>& pieces);

}  // namespace logreport
