#include "app/command_table.h"

#include <gtest/gtest.h>

#include <set>
#include <span>
#include <string>

#include "core/button_bars.h"

namespace qx {
namespace {

// Lookup by exact spelling runs through the CLI command transcript.
TEST(CommandTable, IdsAndNamesAreUniqueAndFoundAgain) {
    std::set<int> ids;
    std::set<std::string_view> names;
    for (const Command& c : CommandTable::standard().all()) {
        EXPECT_TRUE(ids.insert(c.id).second) << c.id;
        EXPECT_TRUE(names.insert(c.name).second) << c.name;
        EXPECT_NE(c.handler, nullptr) << c.name;
        EXPECT_FALSE(c.menuText.empty()) << c.name;
        // A recorded button takes the short name as its label, which keeps only kMaxButtonLabel characters.
        EXPECT_LE(c.name.size(), static_cast<std::size_t>(kMaxButtonLabel)) << c.name;
        EXPECT_EQ(CommandTable::standard().findByName(c.name), CommandTable::standard().findById(c.id)) << c.name;
    }
    EXPECT_EQ(CommandTable::standard().findById(0), nullptr);
}

// A built-in button sends a command id; the command behind it must be the one its label names,
// since recording a button takes the label from the command's short name.
TEST(CommandTable, EveryBuiltInButtonSendsTheCommandItNames) {
    const CommandTable table = CommandTable::standard();
    const std::span<const BuiltInButton> sets[] = {kStandardModeButtons, kEditModeButtons, kTableOptionsButtons,
                                                   kStandardEditBarButtons, kEditModeEditBarButtons};
    for (auto set : sets) {
        for (const BuiltInButton& button : set) {
            const Command* command = table.findById(button.command);
            ASSERT_NE(command, nullptr) << button.label;
            EXPECT_EQ(command->name, button.label);
        }
    }
}

}  // namespace
}  // namespace qx
