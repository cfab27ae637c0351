#include "script/runtime/script_libraries.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <random>

#include "platform/headless_platform.h"
#include "unit/core/temp_directory.h"
#include "unit/script/library_builder.h"

namespace qx::library_test {

class ScriptLibrariesTest : public ::testing::Test {
  protected:
    int attach(const std::string& file, const std::vector<TestScript>& scripts, ErrStat& err, int key = 11,
               const std::string& entries = "") {
        dir.write(file, libraryBytes(scripts, key, entries));
        return libs.attach(file, dir.path(), err);
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& s : libs.scripts()) out.push_back(s.name);
        return out;
    }
    // The body a found script has in the Swap Area, or the error's code as text.
    std::string bodyOf(const std::string& name) {
        ErrStat err;
        const int entry = libs.find(name, err);
        if (entry < 0) return "error " + std::to_string(err.code);
        return libs.body(entry);
    }

    testing::TempDirectory dir;
    HeadlessPlatform platform;
    ScratchRecord scratch;
    ScriptLibraries libs{platform, scratch};
};

TEST_F(ScriptLibrariesTest, AttachReadsHeaderRecordsAndLoadsBodiesOnDemand) {
    ErrStat err;
    const std::vector<TestScript> scripts = {
        {"add", "(#,#)", "0,0", "{return(#1+#2);}"},
        {"mix", "(*,$,~)", "2,1,10,1,20", "{#$1=1;}"},
        {"plain", "()", "1,1,0", "{}"},
    };
    dir.write("lib.slb", libraryBytes(scripts, 0, "~Vl1.50  ~F3\"Sum\""));
    const int lib = libs.attach("lib.s", dir.path(), err);
    ASSERT_EQ(lib, 0) << err.code;
    EXPECT_EQ(libs.library(lib).file, "lib.slb");
    EXPECT_FLOAT_EQ(libs.library(lib).libraryVersion, 1.5F);
    EXPECT_FLOAT_EQ(libs.library(lib).compilerVersion, 3.0F);
    EXPECT_FLOAT_EQ(libs.library(lib).formatVersion, 1.0F);
    EXPECT_EQ(scratch.functionKeyLabels[3], "Sum    ");
    ASSERT_EQ(names(), (std::vector<std::string>{"add", "mix", "plain"}));
    const ScriptIndexEntry& mix = libs.scripts()[1];
    EXPECT_EQ(mix.kinds, (std::vector<ParamKind>{ParamKind::ValueArray, ParamKind::String, ParamKind::Cell}));
    EXPECT_EQ(mix.valueLocals, (std::vector<int16_t>{1, 10}));
    EXPECT_EQ(mix.stringLocals, (std::vector<int16_t>{20}));
    EXPECT_TRUE(mix.unloaded);
    EXPECT_EQ(libs.maxBodyLength(), 16);
    EXPECT_EQ(bodyOf("add"), "{return(#1+#2);}");
    EXPECT_EQ(bodyOf("plain"), "{}");
    EXPECT_FALSE(libs.scripts()[0].unloaded);
    EXPECT_EQ(libs.find("ADD", err), -1);
    EXPECT_FALSE(err.failed());

    ASSERT_TRUE(libs.detach(lib, err));
    EXPECT_TRUE(libs.scripts().empty());
    EXPECT_EQ(scratch.functionKeyLabels[3], std::string(kBlankFunctionKeyLabel));
}

struct DamagedCase {
    const char* what;
    std::string bytes;
    Msg code;
};

std::string withRecords(const std::string& records, int key = 5) {
    return scrambled(headerText(key), kHeaderKey) + scrambled(records, key);
}

std::vector<DamagedCase> damagedCases() {
    const std::string good = libraryBytes({{"ok"}});
    std::string kinds33 = "(#";
    for (int i = 0; i < 32; ++i) kinds33 += ",#";
    kinds33 += ")";
    std::string locals33 = "32";
    for (int i = 0; i < 32; ++i) locals33 += ",1";
    return {
        {"truncated header", good.substr(0, 14), Msg::IllegalFileType},
        {"empty file", "", Msg::IllegalFileType},
        {"no leading tilde", scrambled("#" + headerText(5).substr(1), kHeaderKey), Msg::IllegalFileType},
        {"header length below 12", scrambled("~00011~00005~1.00 ~Va3.00  ", kHeaderKey), Msg::IllegalFileType},
        {"header longer than the file", scrambled("~00090~00005~1.00 ~Va3.00  ", kHeaderKey), Msg::IllegalFileType},
        {"header length not digits", scrambled("~0x027~00005~1.00 ~Va3.00  ", kHeaderKey), Msg::IllegalFileType},
        {"key above 31", scrambled("~00027~00032~1.00 ~Va3.00  ", kHeaderKey), Msg::IllegalFileType},
        {"record without tilde", withRecords("x00020~ok()0,0{return(1);}"), Msg::IllegalFileType},
        {"record length below 12", withRecords("~00011~ok()0,0{}"), Msg::IllegalFileType},
        {"record too short", withRecords("~0001"), Msg::IllegalFileType},
        {"no tilde after the length", withRecords("~00020xok()0,0{return(1);}"), Msg::IllegalFileType},
        {"too many kinds", withRecords(recordText({"f", kinds33})), Msg::TooManyScriptParameters},
        {"unknown kind", withRecords(recordText({"f", "(#,&)"})), Msg::WrongParameters},
        {"signature not closed", withRecords("~00012~f(#"), Msg::MissingBracket},
        {"no brace", withRecords("~00013~f()0,0"), Msg::MissingBracket},
        {"too many local numbers", withRecords(recordText({"f", "()", locals33})), Msg::TooManyScriptParameters},
        {"locals not matching counts", withRecords(recordText({"f", "()", "2,1,0"})), Msg::IllegalFileType},
        {"local dimension 0", withRecords(recordText({"f", "()", "1,0,0"})), Msg::IllegalFileType},
        {"name of 32 characters", withRecords(recordText({std::string(32, 'n')})), Msg::IllegalFileType},
        {"name of 33 characters", withRecords(recordText({std::string(33, 'n')})), Msg::MissingBracket},
        {"length ending before the body", withRecords("~00013~f()0,0{return(1);}"), Msg::IllegalFileType},
        {"bad record after a good one", withRecords(recordText({"g"}) + "~00020~h(?)0,0{return(1);}"),
         Msg::WrongParameters},
    };
}

TEST_F(ScriptLibrariesTest, DamagedLibrariesAreRefusedWithTheirMessageAndLeaveNothingAttached) {
    for (const DamagedCase& c : damagedCases()) {
        SCOPED_TRACE(c.what);
        dir.write("bad.slb", c.bytes);
        ErrStat err;
        EXPECT_EQ(libs.attach("bad", dir.path(), err), kAttachFailed);
        EXPECT_TRUE(err.failed());
        EXPECT_TRUE(err.is(c.code)) << err.code;
        EXPECT_TRUE(libs.scripts().empty());
        EXPECT_TRUE(libs.attached().empty());
    }
    ErrStat err;
    EXPECT_EQ(libs.attach("missing", dir.path(), err), kAttachFailed);
    EXPECT_TRUE(err.is(Msg::CannotLoadLibrary));
}

TEST_F(ScriptLibrariesTest, EmptyNameEndsTheRecordsAndAShortBodyFailsAtLoad) {
    ErrStat err;
    dir.write("a.slb", withRecords(recordText({"f"}) + "~00020~(" + recordText({"g"})));
    ASSERT_EQ(libs.attach("a", dir.path(), err), 0);
    EXPECT_EQ(names(), std::vector<std::string>{"f"});
    // The record promises a longer body than the file holds.
    dir.write("b.slb", withRecords("~00030~short()0,0{return(2);}"));
    ASSERT_EQ(libs.attach("b", dir.path(), err), 1);
    EXPECT_EQ(bodyOf("short"), "error " + std::to_string(codeOf(Msg::CannotLoadLibrary)));
    EXPECT_EQ(bodyOf("f"), "{return(1);}");
}

TEST_F(ScriptLibrariesTest, AFileChangedSinceAttachingIsNotRead) {
    ErrStat err;
    ASSERT_EQ(attach("lib.slb", {{"f"}, {"g"}}, err), 0);
    dir.write("lib.slb", libraryBytes({{"f", "()", "0,0", "{return(22);}"}, {"g"}}));
    EXPECT_EQ(bodyOf("f"), "error " + std::to_string(codeOf(Msg::CannotLoadLibrary)));
    // The same bytes with another modification time are another file too.
    ASSERT_EQ(libs.detach(0, err), true);
    ASSERT_EQ(attach("lib.slb", {{"f"}, {"g"}}, err), 0);
    const auto path = dir.file("lib.slb");
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
    EXPECT_EQ(bodyOf("g"), "error " + std::to_string(codeOf(Msg::CannotLoadLibrary)));
}

TEST_F(ScriptLibrariesTest, OneFileIsAttachedOnceWhateverItsPathButANamesakeElsewhereIsAnother) {
    ErrStat err;
    ASSERT_EQ(attach("lib.slb", {{"f"}}, err), 0);
    EXPECT_EQ(libs.attach("lib", dir.path() + "/.", err), kAttachFailed);
    std::filesystem::create_directory(dir.file("other"));
    dir.write("other/lib.slb", libraryBytes({{"g"}}));
    EXPECT_EQ(libs.attach("lib.txt", dir.file("other"), err), 1);
    EXPECT_EQ(names(), (std::vector<std::string>{"f", "g"}));
    EXPECT_EQ(libs.libraryNamed("lib"), 0);
    EXPECT_EQ(libs.libraryNamed(dir.file("other/lib.slb")), 1);
}

TEST_F(ScriptLibrariesTest, MultiplyDefinedScriptsWarnAndTheFirstDefinitionStays) {
    ErrStat err;
    ASSERT_EQ(attach("a.slb", {{"f"}, {"g", "()", "0,0", "{return(1);}"}}, err), 0);
    ASSERT_EQ(attach("b.slb", {{"g", "()", "0,0", "{return(2);}"}, {"h"}, {"h"}}, err), 1);
    ASSERT_EQ(platform.boxes().size(), 2U);
    EXPECT_EQ(platform.boxes()[0].text, "WARNING!  Script 'g' is multiply defined!");
    EXPECT_EQ(platform.boxes()[1].text, "WARNING!  Script 'h' is multiply defined!");
    EXPECT_EQ(names(), (std::vector<std::string>{"f", "g", "h"}));
    EXPECT_EQ(bodyOf("g"), "{return(1);}");
    ASSERT_TRUE(libs.detach(0, err));
    EXPECT_EQ(names(), std::vector<std::string>{"h"});
    EXPECT_EQ(libs.find("g", err), -1);
}

TEST_F(ScriptLibrariesTest, DetachClosesTheGapsAndANewLibraryAppends) {
    ErrStat err;
    ASSERT_EQ(attach("a.slb", {{"a1"}, {"a2"}}, err), 0);
    ASSERT_EQ(attach("b.slb", {{"b1"}}, err), 1);
    ASSERT_EQ(attach("c.slb", {{"c1"}, {"c2"}}, err), 2);
    EXPECT_EQ(bodyOf("b1"), "{return(1);}");
    ASSERT_TRUE(libs.detach(0, err));
    EXPECT_EQ(names(), (std::vector<std::string>{"b1", "c1", "c2"}));
    EXPECT_EQ(attach("d.slb", {{"d1"}}, err), 0);  // the freed table entry
    EXPECT_EQ(names(), (std::vector<std::string>{"b1", "c1", "c2", "d1"}));
    EXPECT_EQ(bodyOf("b1"), "{return(1);}");
    EXPECT_FALSE(libs.detach(0 + 5, err));
}

TEST_F(ScriptLibrariesTest, TheScriptIndexHolds512Scripts) {
    std::vector<TestScript> many;
    for (int i = 0; i < 600; ++i) many.push_back({"s" + std::to_string(i)});
    ErrStat err;
    ASSERT_EQ(attach("a.slb", {many.begin(), many.begin() + 500}, err), 0);
    // Only the records that fit are attached; the rest are passed over without an error.
    ASSERT_EQ(attach("b.slb", {many.begin() + 500, many.end()}, err), 1) << err.code;
    EXPECT_EQ(libs.scripts().size(), 512U);
    EXPECT_EQ(libs.scripts().back().name, "s511");
    EXPECT_EQ(attach("c.slb", {{"late"}}, err), kAttachFailed);
    EXPECT_TRUE(err.is(Msg::ScriptIndexExhausted));
    EXPECT_EQ(bodyOf("s511"), "{return(1);}");
}

// Every loaded body must still be the one its record holds, whatever was evicted or moved.
void expectBodiesIntact(const ScriptLibraries& libs, const std::map<std::string, std::string>& bodies) {
    for (const ScriptIndexEntry& s : libs.scripts()) {
        if (s.unloaded) continue;
        const char* text = libs.swapArea().at(s.offset);
        EXPECT_EQ(std::string(text), bodies.at(s.name)) << s.name;
        ASSERT_LE(s.offset + s.footprint(), libs.swapArea().size());
    }
}

TEST_F(ScriptLibrariesTest, ASwapAreaFilledExactlyEvictsByCallWeightAndCompactsWithoutDamage) {
    ErrStat err;
    ASSERT_TRUE(libs.resizeSwapArea(100, err));
    ASSERT_EQ(libs.swapArea().size(), kSwapAreaMin);
    // Four bodies fill the 8,192 bytes exactly, terminators included.
    std::vector<TestScript> scripts = {sizedScript("a", 1000, 1), sizedScript("b", 3000, 2), sizedScript("c", 2000, 3),
                                       sizedScript("d", 2192, 4), sizedScript("e", 1500, 5), sizedScript("f", 8193, 6)};
    std::map<std::string, std::string> bodies;
    for (const auto& s : scripts) bodies[s.name] = s.body;
    ASSERT_EQ(attach("big.slb", scripts, err), 0);
    for (const char* name : {"a", "b", "c", "d"}) EXPECT_EQ(bodyOf(name), bodies[name]);
    EXPECT_EQ(libs.scripts()[3].offset + libs.scripts()[3].footprint(), kSwapAreaMin);
    // "b" is the lightest of the bodies large enough for "e"; the others slide down over its place.
    for (int i = 0; i < 4; ++i) libs.script(i).callWeight = static_cast<int16_t>(i == 1 ? 64 : 70);
    EXPECT_EQ(bodyOf("e"), bodies["e"]);
    EXPECT_TRUE(libs.scripts()[1].unloaded);
    EXPECT_EQ(libs.scripts()[2].offset, 1000);
    expectBodiesIntact(libs, bodies);
    // A running body stays where it is while others move around it.
    libs.script(2).runCount = 1;
    const int32_t pinned = libs.scripts()[2].offset;
    libs.script(0).callWeight = 0;
    EXPECT_EQ(bodyOf("b"), bodies["b"]);
    EXPECT_EQ(libs.scripts()[2].offset, pinned);
    expectBodiesIntact(libs, bodies);
    EXPECT_FALSE(libs.resizeSwapArea(20000, err));
    EXPECT_FALSE(libs.detach(0, err));
    libs.script(2).runCount = 0;
    // A body larger than the area cannot be loaded until the area grows.
    EXPECT_EQ(bodyOf("f"), "error " + std::to_string(codeOf(Msg::SwapAreaExhausted)));
    ASSERT_TRUE(libs.resizeSwapArea(20000, err));
    EXPECT_EQ(scratch.swapAreaSize, 20000);
    EXPECT_EQ(bodyOf("f"), bodies["f"]);
}

TEST_F(ScriptLibrariesTest, RandomCallsNeverDamageABody) {
    std::mt19937 rng(7);
    std::vector<TestScript> scripts;
    std::map<std::string, std::string> bodies;
    for (int i = 0; i < 40; ++i) {
        scripts.push_back(sizedScript("s" + std::to_string(i), 20 + static_cast<int>(rng() % 900), i));
        bodies[scripts.back().name] = scripts.back().body;
    }
    ErrStat err;
    ASSERT_TRUE(libs.resizeSwapArea(kSwapAreaMin, err));
    ASSERT_EQ(attach("r.slb", scripts, err), 0);
    for (int step = 0; step < 2000; ++step) {
        const int n = static_cast<int>(rng() % scripts.size());
        libs.script(static_cast<int>(rng() % scripts.size())).callWeight = static_cast<int16_t>(rng() % 128);
        libs.script(n).runCount = static_cast<int16_t>(rng() % 8 == 0 ? 1 : 0);
        const std::string body = bodyOf(scripts[static_cast<std::size_t>(n)].name);
        if (body.starts_with("error")) {
            EXPECT_EQ(body, "error " + std::to_string(codeOf(Msg::SwapAreaExhausted)));
        } else {
            EXPECT_EQ(body, bodies[scripts[static_cast<std::size_t>(n)].name]);
        }
        expectBodiesIntact(libs, bodies);
        if (::testing::Test::HasFailure()) break;
    }
}

TEST_F(ScriptLibrariesTest, MutatedLibrariesAttachOrFailCleanly) {
    const std::string good =
        headerText(9, "~Vl2.00  ~F2\"Go\"") +
        recordsText({{"f", "(#,*,$,~)", "1,3,1,8", "{return(#1);}"}, {"g", "()", "0,0", "{while(1){break;}}"}});
    std::mt19937 rng(12345);
    for (int round = 0; round < 400; ++round) {
        std::string text = good;
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = rng() % text.size();
            switch (rng() % 3) {
                case 0:
                    text[at] = static_cast<char>(rng() % 256);
                    break;
                case 1:
                    text.erase(at, 1 + rng() % 8);
                    break;
                default:
                    text.insert(at, 1, "~(){},#$*0123456789"[rng() % 19]);
                    break;
            }
            if (text.empty()) text = "~";
        }
        const std::size_t headerLength = std::min<std::size_t>(text.size(), 48);
        dir.write("m.slb",
                  scrambled(text.substr(0, headerLength), kHeaderKey) + scrambled(text.substr(headerLength), 9));
        ErrStat err;
        const int lib = libs.attach("m", dir.path(), err);
        if (lib == kAttachFailed) {
            EXPECT_TRUE(err.failed());
            EXPECT_TRUE(libs.scripts().empty());
            continue;
        }
        for (std::size_t i = 0; i < libs.scripts().size(); ++i) {
            ErrStat findErr;
            const std::string name = libs.scripts()[i].name;
            const int entry = libs.find(name, findErr);
            if (entry >= 0) {
                EXPECT_EQ(std::strlen(libs.body(entry)), static_cast<std::size_t>(libs.script(entry).bodyLength));
            }
        }
        ASSERT_TRUE(libs.detach(lib, err));
    }
}

}  // namespace qx::library_test
