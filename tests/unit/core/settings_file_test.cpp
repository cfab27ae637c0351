#include "core/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <tuple>

#include "temp_directory.h"

namespace qx {
namespace {

struct State {
    AppGlobals app;
    ScratchRecord scratch;
    BarSet bars;
    ErrStat err;

    SettingsRead parse(std::string_view bytes) { return parseSettings(bytes, app, scratch, bars, err); }
    std::string format() const { return formatSettings(app, scratch, bars); }
};

std::string padded(std::string records) {
    records.append((kSettingsBlockSize - records.size() % kSettingsBlockSize) % kSettingsBlockSize, '~');
    return records;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void fillBusyState(State& s) {
    s.app.defaultDocumentDirectory = "/home/u/docs";
    s.app.helpFilePath = "/opt/quorix/Quorix.hlp";
    s.app.savedModeName = "Survey";
    for (const char* p : {"/a/one.qx3", "/a/two.qx2", "/b/three.qx3"}) s.app.addRecentFile(p);
    s.app.libraries = {{"/lib", "roads.slb"}, {"/usr/share/quorix", "cogo.slb"}};
    s.app.defaults.level = {.gridColour = 255, .style = 0xFFFFFFFFu, .formulaFlags = 0x80000001u};
    s.app.view = {.rowBar = 0, .comments = -1};
    s.scratch.swapAreaSize = 65536;
    s.app.autoBackup = 1;
    s.app.backupValue = 5;
    s.bars.addBar("Survey");
    s.bars.addButton("Copy", 541);
    s.bars.addButton("myscript", 0);
    s.bars.addBar("Empty");
}

TEST(SettingsFile, DefaultRecordsHaveTheirExactFormat) {
    State s;
    s.app.defaultDocumentDirectory = "/d";
    s.app.helpFilePath = "/d/Quorix.hlp";
    s.bars.addBar("mine");
    s.bars.addButton("Copy", 541);
    s.bars.addButton("go", 0);
    s.bars.addBar("none");  // a bar without buttons
    EXPECT_EQ(s.format(), padded("~~C{3.00}~~O{/d}~~H{/d/Quorix.hlp}~~B{mine,2|Copy,541|go,0}~~B{none,0}"
                                 "~~M{Standard mode}~~G{0,0,0,2,80,17,1,16777215,0,1,8}~~V{1,1,1,1,1,1}"
                                 "~~S{32768}~~U{0,0}"));
}

TEST(SettingsFile, WriteReadWriteGivesIdenticalBytes) {
    State first;
    fillBusyState(first);
    const std::string bytes = first.format();
    EXPECT_EQ(bytes.size() % kSettingsBlockSize, 0u);
    EXPECT_NE(bytes.find("~~F{/a/one.qx3}~~F{/a/two.qx2}~~F{/b/three.qx3}"), std::string::npos);  // oldest first
    EXPECT_NE(bytes.find("~~L{/lib\\roads.slb}"), std::string::npos);

    State second;
    ASSERT_EQ(second.parse(bytes), SettingsRead::Complete);
    EXPECT_EQ(second.format(), bytes);
    EXPECT_EQ(second.app.recentFiles, first.app.recentFiles);
    EXPECT_EQ(second.app.libraries, first.app.libraries);
    EXPECT_EQ(second.bars.buttonCommand(second.bars.findBar("Survey"), 1), 0);
    EXPECT_EQ(second.app.view.comments, -1);
    EXPECT_EQ(second.bars.shownBar()->name, "Standard mode");
}

TEST(SettingsFile, VersionRecordMustComeFirstAndReadThreePointZeroAndSwapSizeIsClamped) {
    using enum SettingsRead;
    // The swap size shows whether the S record after the version was applied, and that it is clamped;
    // "c" ends the reading.
    const std::tuple<std::string, SettingsRead, int32_t> cases[] = {
        {"~~C{3.00}~~S{9000}", Complete, 9000},
        {"~~C{3.04}~~S{9000}", Complete, 9000},
        {"~~C{3.10}~~S{9000}", Stopped, 32768},
        {"~~C{2.99}~~S{9000}", Stopped, 32768},
        {"~~C{3.00x}~~S{9000}", Stopped, 32768},
        {"~~S{9000}~~C{3.00}", Stopped, 32768},
        {"~~C{3.00", Stopped, 32768},
        {"~~", Stopped, 32768},
        {"", Failed, 32768},
        {"~xC{3.00}", Failed, 32768},
        {"~~C{3.00}~~c{}~~S{9000}", Complete, 32768},
        {"~~C{3.00}~~c~~S{9000}", Complete, 32768},
        {"~~C{3.00}~~S{9000}~~c{}~~Q{garbage", Complete, 9000},
        {"~~C{3.00}~~S{4000}", Complete, 8192},
        {"~~C{3.00}~~S{-5}", Complete, 8192},
        {"~~C{3.00}~~S{200000}", Complete, 131072},
        {"~~C{3.00}~~S{99999999999999999999999}", Complete, 131072}};
    for (const auto& [bytes, result, swap] : cases) {
        State s;
        EXPECT_EQ(s.parse(bytes), result) << bytes;
        EXPECT_EQ(s.scratch.swapAreaSize, swap) << bytes;
    }
}

TEST(SettingsFile, MalformedRecordsFailWithCodeThirtyNine) {
    const std::string version = "~~C{3.00}";
    const std::string longName(kMaxBarRecordName + 1, 'n');
    // The 256 in G is the grid colour, which is one byte.
    const std::string cases[] = {"~~Q{x}",
                                 "~~G{1,2}",
                                 "~~G{0,0,0,2,80,17,1,16777215,0,1,256}",
                                 "~~V{1,1,1,1,1}",
                                 "~~U{1,2,3}",
                                 "~~S{12x}",
                                 "~~B{bar,2|A,1}",
                                 "~~B{bar,10|a,1|a,1|a,1|a,1|a,1|a,1|a,1|a,1|a,1|a,1}",
                                 "~~B{,0}",
                                 "~~B{" + longName + ",0}",
                                 "~~B{bar,1|" + longName + ",5}",
                                 "~~B{bar,1|A,70000}",
                                 "~~O{" + std::string(kMaxSettingsField + 1, 'd') + "}",
                                 "~~S{9000",
                                 "~B{bar,0}"};
    for (const auto& tail : cases) {
        State s;
        EXPECT_EQ(s.parse(version + "~~U{1,7}" + tail), SettingsRead::Failed) << tail;
        EXPECT_EQ(std::tie(s.err.code, s.err.letter, s.err.module, s.err.routine), std::make_tuple(39, 'W', 97, 1));
        EXPECT_EQ(s.app.backupValue, 7) << "records before the failure stay applied";
    }
}

TEST(SettingsFile, BarAndLibraryRecordsAreAdded) {
    State s;
    // Names and labels are cut by the bar set itself (see its tests).
    std::string bytes = "~~C{3.00}~~L{/x/y\\a.slb}~~L{/x/y/b.slb}~~B{Standard mode,1|Evil,1}~~B{Edit mode,0}";
    bytes += "~~B{abcdefghijklmnopqrst,1|123456789,77}";
    for (int i = 0; i < 20; ++i) bytes += "~~B{b" + std::to_string(i) + ",0}";
    ASSERT_EQ(s.parse(bytes), SettingsRead::Complete);
    EXPECT_EQ(s.bars.places().size(), static_cast<size_t>(kMaxBars));  // the surplus bars are passed over
    EXPECT_EQ(s.bars.buttonCommand(s.bars.findBar("abcdefghijklmnop"), 0), 77);
    EXPECT_EQ(s.bars.bar(s.bars.findBar("Standard mode"))->buttons.size(), 9u);
    EXPECT_EQ(s.bars.buttonLabel(s.bars.findBar("Standard mode"), 0), "Recalc");
    EXPECT_EQ(s.bars.shownBar()->name, "Standard mode");
    EXPECT_EQ(s.app.libraries, (std::vector<LibraryRef>{{"/x/y", "a.slb"}, {"/x/y", "b.slb"}}));
}

TEST(SettingsFile, TextsThatCouldNotBeReadBackAreNotWritten) {
    State s;
    for (const char* p : {"/ok.qx3", "/a,b.qx3", "/new\nline.qx3", "/t~~x.qx3", "/q\"x.qx3", "/\xe9t\xe9.qx3"}) {
        s.app.addRecentFile(p);
    }
    s.app.libraries = {{"/l{1}", "a.slb"}, {"/l", "b|c.slb"}, {"/l", "sub/d.slb"}, {"/l", "e.slb"}};
    s.bars.addBar("bad|name");
    s.bars.addButton("ok", 1);
    s.bars.addBar("good");
    s.bars.addButton("x,y", 2);
    s.bars.addButton("fine", 3);
    const std::string bytes = s.format();
    EXPECT_NE(bytes.find("~~F{/ok.qx3}~~L{/l\\e.slb}"), std::string::npos);
    EXPECT_NE(bytes.find("~~B{good,1|fine,3}"), std::string::npos);
    EXPECT_EQ(bytes.find("bad"), std::string::npos);
    State back;
    EXPECT_EQ(back.parse(bytes), SettingsRead::Complete);
    EXPECT_EQ(back.format(), bytes);
}

TEST(SettingsFile, LocationFollowsTheLookupOrder) {
    testing::TempDirectory withFile;
    testing::TempDirectory without;
    withFile.write("Quorix.ini", "~~C{3.00}");
    const struct {
        std::string explicitPath, start, xdg, home, expected;
    } cases[] = {
        {"/etc/q.ini", withFile.path(), "/x", "/h", "/etc/q.ini"},
        {"", withFile.path(), "/x", "/h", withFile.file("Quorix.ini")},
        {"", without.path(), "/x", "/h", "/x/quorix/Quorix.ini"},
        {"", without.path(), "", "/h", "/h/.config/quorix/Quorix.ini"},
        {"", without.path(), "relative", "/h", "/h/.config/quorix/Quorix.ini"},
        {"", without.path(), "", "", without.file("Quorix.ini")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(settingsFilePath(c.explicitPath, c.start, c.xdg, c.home), c.expected) << c.start << c.xdg;
    }
}

TEST(SettingsFile, LoadingInstallsDefaultsOnlyForMissingOrUnreadableFiles) {
    using enum SettingsLoad;
    const struct {
        const char* contents;  // null: no file
        SettingsLoad outcome;
        bool defaults;
    } cases[] = {{nullptr, Missing, true},
                 {"garbage", Unreadable, true},
                 {"~~C{3.00}~~Z{}", Unreadable, true},
                 {"~~C{2.00}~~B{x,0}", Stopped, false},
                 {"~~C{3.00}~~B{Survey,0}~~M{Survey}", Read, false}};
    for (const auto& c : cases) {
        testing::TempDirectory dir;
        const std::string path = dir.file("Quorix.ini");
        if (c.contents) dir.write("Quorix.ini", c.contents);
        State s;
        EXPECT_EQ(loadSettingsFile(path, s.app, s.scratch, s.bars), c.outcome) << path;
        EXPECT_EQ(s.bars.findBar("Table options") != 0, c.defaults) << static_cast<int>(c.outcome);
        EXPECT_EQ(s.scratch.repaintPending, c.defaults);
        EXPECT_EQ(s.bars.shownBar()->name, "Standard mode");
        EXPECT_EQ(s.app.modeName, "Standard mode");
        // Kept for the user: a file of another version is also written over at shutdown.
        if (c.outcome == Unreadable || c.outcome == Stopped) {
            EXPECT_EQ(readFile(path + ".bad"), c.contents);
            EXPECT_EQ(std::filesystem::exists(path), c.outcome == Stopped);
        }
    }
}

TEST(SettingsFile, SavingReplacesTheFileAndCreatesItsDirectory) {
    testing::TempDirectory dir;
    const std::string path = dir.file("config/quorix/Quorix.ini");
    State s;
    fillBusyState(s);
    ASSERT_TRUE(saveSettingsFile(path, s.app, s.scratch, s.bars, s.err));
    s.scratch.swapAreaSize = 9000;
    ASSERT_TRUE(saveSettingsFile(path, s.app, s.scratch, s.bars, s.err));
    EXPECT_EQ(readFile(path), s.format());
    const auto entries = std::distance(std::filesystem::directory_iterator(dir.file("config/quorix")),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 1) << "no temporary file is left behind";

    dir.write("plain", "x");
    EXPECT_FALSE(saveSettingsFile(dir.file("plain/Quorix.ini"), s.app, s.scratch, s.bars, s.err));
    EXPECT_EQ(std::tuple(s.err.code, s.err.routine), std::tuple(60, 2));
}

// A NUL would cut the path short: the garbage file it names instead must be neither read, nor
// renamed aside at start-up, nor replaced at shutdown.
TEST(SettingsFile, PathWithControlBytesTouchesNothing) {
    testing::TempDirectory dir;
    dir.write("Quorix.ini", "garbage");
    const std::string hostile = dir.file("Quorix.ini") + std::string("\0.x", 3);
    State s;
    EXPECT_EQ(loadSettingsFile(hostile, s.app, s.scratch, s.bars), SettingsLoad::Refused);
    EXPECT_NE(s.bars.findBar("Table options"), 0) << "starts as without a file";
    EXPECT_FALSE(saveSettingsFile(hostile, s.app, s.scratch, s.bars, s.err));
    EXPECT_EQ(s.err.code, 64);
    EXPECT_EQ(readFile(dir.file("Quorix.ini")), "garbage");
    EXPECT_FALSE(std::filesystem::exists(dir.file("Quorix.ini.bad")));
}

TEST(SettingsFile, RandomAndMutatedFilesNeverBreakTheReader) {
    State busy;
    fillBusyState(busy);
    const std::string valid = busy.format();
    std::mt19937 rng(20261206);
    constexpr std::string_view kAlphabet = "~{}|,\\/CBGVSULFOHMc0123456789-.x";
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng); };
    for (int i = 0; i < 4000; ++i) {
        std::string bytes;
        if (i % 4 == 0) {
            bytes = "~~C{3.00}";
            for (std::size_t n = pick(300); n > 0; --n) bytes.push_back(static_cast<char>(pick(256)));
        } else {
            bytes = valid;
            for (std::size_t n = 1 + pick(6); n > 0; --n) {
                const std::size_t at = pick(bytes.size());
                const std::size_t kind = pick(4);
                if (kind == 0) bytes[at] = kAlphabet[pick(kAlphabet.size())];
                if (kind == 1) bytes.erase(at, 1 + pick(20));
                if (kind == 2) bytes.insert(at, bytes.substr(pick(bytes.size()), pick(60)));
                if (kind == 3) bytes.resize(at);
                if (bytes.empty()) break;
            }
        }
        // Whatever a damaged file leaves behind writes back to a file that reads unchanged.
        State s;
        const bool failed = s.parse(bytes) == SettingsRead::Failed;
        ASSERT_EQ(failed ? s.err.code : 39, 39) << i;
        ASSERT_GE(s.scratch.swapAreaSize, kSwapAreaMin);
        ASSERT_LE(s.scratch.swapAreaSize, kSwapAreaMax);
        const std::string written = s.format();
        State back;
        ASSERT_EQ(back.parse(written), SettingsRead::Complete) << i;
        ASSERT_EQ(back.format(), written) << i;
    }
}

}  // namespace
}  // namespace qx
