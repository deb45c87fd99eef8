// The nearest names to a name that is not known, by edit distance.
#pragma once

#include <string>
#include <vector>

namespace kvtcli {

// Edit distance (insertions, deletions, substitutions), letter case ignored.
std::size_t EditDistance(const std::string& a, const std::string& b);

// Up to `count` candidates nearest to `name`: smallest distance first, equal ones in
// the candidates' order. Candidates too far
// to be a slip of the keyboard are left out unless `always` is set.
std::vector<std::string> NearestNames(const std::string& name,
                                      const std::vector<std::string>& candidates,
                                      std::size_t count, bool always = false);

}  // namespace kvtcli
