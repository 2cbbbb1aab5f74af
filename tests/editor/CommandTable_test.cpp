#include "CommandTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>

#include "ColorSchemes.h"

namespace scrivo {
namespace {

// The rules a new row must keep: the frame builds menus, shortcuts and the toolbar from the rows,
// so two rows sharing an identifier, a caption in one menu, a key or a toolbar slot would make
// one of them unreachable.
TEST(CommandTable, IdentifiersCaptionsKeysAndToolbarSlotsAreEachUsedOnce) {
    std::set<int> ids;
    std::set<std::tuple<std::string_view, std::string_view, std::string_view>> captions;
    std::map<std::string_view, int> keys;
    std::set<int> slots;
    for (const Command &row : CommandTable()) {
        SCOPED_TRACE(std::string(row.caption) + " (" + std::to_string(row.id) + ")");
        EXPECT_TRUE(ids.insert(row.id).second) << "identifier used twice";
        EXPECT_EQ(FindCommand(row.id), &row);
        if (!row.menu.empty()) {
            EXPECT_FALSE(row.caption.empty());
            EXPECT_TRUE(captions.emplace(row.menu, row.submenu, row.caption).second)
                << "caption used twice in one menu";
        }
        for (std::string_view key : row.keys) {
            if (!key.empty()) {
                EXPECT_TRUE(keys.emplace(key, row.id).second)
                    << key << " already belongs to " << keys[key];
            }
        }
        if (row.toolbarSlot != kNoToolbarSlot) {
            EXPECT_GE(row.toolbarSlot, 0);
            EXPECT_LT(row.toolbarSlot, kToolbarSlotCount);
            EXPECT_TRUE(slots.insert(row.toolbarSlot).second) << "toolbar slot used twice";
            EXPECT_FALSE(row.tooltip.empty());
            EXPECT_FALSE(row.icon.bundled.empty());
        }
    }
    EXPECT_EQ(slots.size(), static_cast<std::size_t>(kToolbarSlotCount))
        << "a toolbar slot is empty";
}

// Every scheme has its row, in the scheme table's order, and no other row takes an identifier of
// the scheme range (the settings file stores them).
TEST(CommandTable, SchemeRowsFollowTheSchemeTableAndOnlyTheyUseTheSchemeRange) {
    std::vector<int> schemeRows;
    for (const Command &row : CommandTable()) {
        if (row.id >= command::kFirstScheme && row.id <= command::kLastScheme) {
            schemeRows.push_back(row.id);
            EXPECT_NE(FindColorScheme(row.id), nullptr) << row.id << " names no scheme";
        }
    }
    std::vector<int> schemes;
    for (const ColorScheme &scheme : ColorSchemes()) {
        schemes.push_back(scheme.id);
    }
    EXPECT_EQ(schemeRows, schemes);
}

}  // namespace
}  // namespace scrivo
