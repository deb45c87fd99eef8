#include "tools/kvt/Suggestions.h"

#include <algorithm>

namespace kvtcli {
namespace {

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

struct Ranked {
    std::size_t distance;
    std::size_t order;
};

}  // namespace

std::size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const std::size_t substitution = diagonal + (Fold(a[i - 1]) == Fold(b[j - 1]) ? 0 : 1);
            row[j] = std::min({above + 1, row[j - 1] + 1, substitution});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::vector<std::string> NearestNames(const std::string& name,
                                      const std::vector<std::string>& candidates,
                                      std::size_t count, bool always) {
    // A slip: at most a third of the name wrong (at least 2 edits allowed).
    const std::size_t limit = std::max<std::size_t>(2, name.size() / 3);
    std::vector<std::pair<Ranked, std::size_t>> ranked;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const std::size_t distance = EditDistance(name, candidates[i]);
        if (always || distance <= limit) {
            ranked.push_back({Ranked{distance, i}, i});
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& x, const auto& y) {
        if (x.first.distance != y.first.distance) {
            return x.first.distance < y.first.distance;
        }
        return x.first.order < y.first.order;
    });
    std::vector<std::string> nearest;
    for (const auto& entry : ranked) {
        if (nearest.size() == count) {
            break;
        }
        if (std::find(nearest.begin(), nearest.end(), candidates[entry.second]) == nearest.end()) {
            nearest.push_back(candidates[entry.second]);
        }
    }
    return nearest;
}

}  // namespace kvtcli
