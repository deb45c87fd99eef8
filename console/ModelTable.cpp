#include "console/ModelTable.h"

namespace tavol {
namespace {

using NameSlot = char[kModelNameSlot];

const NameSlot kGroupA[] = {
    "Tavol OXR A01", "Tavol OXR A02", "Tavol OXR A03", "Tavol OXR A04", "Tavol OXR A05",
    "Tavol OXR A06", "Tavol OXR A07", "Tavol OXR A08", "Tavol OXR A09", "Tavol OXR A10",
    "Tavol OXR A11", "Tavol OXR A12", "Tavol OXR A13", "Tavol OXR A14", "Tavol OXR A15",
    "Tavol OXR A16", "Tavol OXR A17", "Tavol OXR A18",
};
const NameSlot kGroupB[] = {
    "Tavol OXR B01", "Tavol OXR B02", "Tavol OXR B03",
    "Tavol OXR B04", "Tavol OXR B05", "Tavol OXR B06",
};
const NameSlot kGroupS1[] = {"Tavol OXR S01"};
const NameSlot kGroupS2[] = {"Tavol OXR S02"};
// N07 and N08 stand in the table after group N, but the group's comparison covers
// only its first six names: those two models get the default readout.
const NameSlot kGroupN[] = {
    "Tavol OXR N01", "Tavol OXR N02", "Tavol OXR N03", "Tavol OXR N04",
    "Tavol OXR N05", "Tavol OXR N06", "Tavol OXR N07", "Tavol OXR N08",
};
constexpr std::size_t kGroupNCompared = 6;

const char kFactoryModeName[] = "Tavol OXR FactoryConnect";

struct Group {
    const NameSlot* names;
    std::size_t count;
    ModelChoice choice;
};

const Group kGroups[] = {
    {kGroupA, sizeof(kGroupA) / sizeof(kGroupA[0]), {Readout::TwoCounters, 4117, 4107}},
    {kGroupB, sizeof(kGroupB) / sizeof(kGroupB[0]), {Readout::TwoCounters, 4097, 4131}},
    {kGroupS1, 1, {Readout::OneCounter, 6661, 0}},
    {kGroupS2, 1, {Readout::OneCounter, 4933, 0}},
    {kGroupN, kGroupNCompared, {Readout::Unsupported, 0, 0}},
};

constexpr ModelChoice kDefaultChoice{Readout::TwoCounters, 4097, 4107};

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool SameNameIgnoringCase(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) {
        return false;
    }
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (FoldAscii(*a) != FoldAscii(*b)) {
            return false;
        }
    }
    return *a == *b;
}

ModelChoice ChooseModel(const char* productName) {
    for (const Group& group : kGroups) {
        for (std::size_t i = 0; i < group.count; ++i) {
            if (SameNameIgnoringCase(productName, group.names[i])) {
                return group.choice;
            }
        }
    }
    return kDefaultChoice;
}

bool IsFactoryMode(const char* productName) {
    return SameNameIgnoringCase(productName, kFactoryModeName);
}

}  // namespace tavol
