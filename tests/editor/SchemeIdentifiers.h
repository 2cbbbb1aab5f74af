// The scheme identifiers the tests name, and the ones the table leaves free, so that no test
// assumes more of the scheme table than the row it uses.
#pragma once

#include <algorithm>
#include <vector>

#include "ColorSchemes.h"
#include "CommandTable.h"

namespace scrivo::testing {

inline constexpr int kBorlandScheme = 32797;
inline constexpr int kClassicScheme = 32798;
inline constexpr int kDarkScheme = 32802;

// Identifiers of the scheme commands' range that name no scheme, lowest first.
inline std::vector<int> FreeSchemeIdentifiers() {
    std::vector<int> free;
    for (int id = command::kFirstScheme; id <= command::kLastScheme; ++id) {
        if (FindColorScheme(id) == nullptr) {
            free.push_back(id);
        }
    }
    return free;
}

}  // namespace scrivo::testing
