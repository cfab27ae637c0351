// Every routine of the engine and the command line reports from its own origin, so an error report
// names the one place it came from.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "app/origins.h"
#include "cli/origins.h"
#include "core/origins.h"
#include "display/origins.h"
#include "edit/origins.h"
#include "engineering/cogo/origins.h"
#include "engineering/matrix/origins.h"
#include "engineering/road/origins.h"
#include "engineering/statistics/origins.h"
#include "files/origins.h"
#include "formula/origins.h"
#include "functions/origins.h"
#include "objects/origins.h"
#include "recalc/origins.h"
#include "script/compiler/origins.h"
#include "script/toolkit/origins.h"

namespace qx {
namespace {

struct FolderTable {
    const char* folder;
    std::span<const NamedOrigin> origins;
};

constexpr FolderTable kFolders[] = {
    {"core", origins::core::kOriginTable},
    {"display", origins::display::kOriginTable},
    {"formula", origins::formula::kOriginTable},
    {"recalc", origins::recalc::kOriginTable},
    {"functions", origins::functions::kOriginTable},
    {"engineering/cogo", origins::cogo::kOriginTable},
    {"engineering/matrix", origins::matrix::kOriginTable},
    {"engineering/road", origins::road::kOriginTable},
    {"engineering/statistics", origins::statistics::kOriginTable},
    {"script/compiler", origins::script_compiler::kOriginTable},
    {"script/toolkit", origins::toolkit::kOriginTable},
    {"files", origins::files::kOriginTable},
    {"edit", origins::edit::kOriginTable},
    {"objects", origins::objects::kOriginTable},
    {"app", origins::app::kOriginTable},
    {"cli", origins::cli::kOriginTable},
};

// As a report shows it: "A33-1".
std::string shown(const Origin& o) {
    const char letter = o.letter == kLetterLib ? 'L' : static_cast<char>(o.letter);
    return letter + std::to_string(o.module) + "-" + std::to_string(o.routine);
}

TEST(Origins, NoTwoRoutinesShareAnOrigin) {
    std::map<std::tuple<int32_t, int32_t, int32_t>, std::vector<std::string>> users;
    for (const FolderTable& table : kFolders) {
        for (const NamedOrigin& entry : table.origins) {
            const Origin& o = entry.origin;
            users[{o.letter, o.module, o.routine}].push_back(std::string(table.folder) + "::" + entry.name);
        }
    }
    for (const auto& [key, names] : users) {
        if (names.size() < 2) continue;
        const auto& [letter, module, routine] = key;
        std::string list;
        for (const std::string& name : names) list += " " + name;
        ADD_FAILURE() << shown(Origin{letter, module, routine}) << " is shared by" << list;
    }
}

// A folder's table that this test does not read could share origins unnoticed.
TEST(Origins, EveryFolderTableIsChecked) {
    const std::filesystem::path src = std::filesystem::path(QX_TEST_FILES).parent_path().parent_path() / "src";
    std::set<std::string> listed;
    for (const FolderTable& table : kFolders) listed.insert(table.folder);
    int found = 0;
    for (const auto& file : std::filesystem::recursive_directory_iterator(src)) {
        if (file.path().filename() != "origins.h") continue;
        ++found;
        const std::string folder = file.path().parent_path().lexically_relative(src).generic_string();
        EXPECT_TRUE(listed.count(folder)) << folder << "/origins.h is not in the test's list";
    }
    EXPECT_EQ(found, static_cast<int>(std::size(kFolders)));
}

// A report prints the origin as two-digit module and routine numbers and cannot tell a zero routine
// from "no error"; a letter it does not know shows as '?'.
TEST(Origins, EveryOriginFitsTheReport) {
    for (const FolderTable& table : kFolders) {
        for (const NamedOrigin& entry : table.origins) {
            const Origin& o = entry.origin;
            const bool knownLetter = o.letter == kLetterLib || o.letter == kLetterA || o.letter == kLetterC ||
                                     o.letter == kLetterW || o.letter == kLetterS;
            EXPECT_TRUE(knownLetter && o.module >= 1 && o.module <= 99 && o.routine >= 1 && o.routine <= 99)
                << table.folder << "::" << entry.name << " " << shown(o);
        }
    }
}

}  // namespace
}  // namespace qx
