// Where each orientation puts the parts of a picture stored as ABC over DEF, for the tests
// of the transform and of the decoders that report orientations.
#pragma once

#include <string>
#include <vector>

namespace ravinel::testing {

struct TurnCase {
    int tag;
    std::vector<std::string> upright;
};

inline const std::vector<TurnCase> kTurnCases = {
    {1, {"ABC", "DEF"}},     {2, {"CBA", "FED"}},     {3, {"FED", "CBA"}},
    {4, {"DEF", "ABC"}},     {5, {"AD", "BE", "CF"}}, {6, {"DA", "EB", "FC"}},
    {7, {"FC", "EB", "DA"}}, {8, {"CF", "BE", "AD"}},
};

}  // namespace ravinel::testing
