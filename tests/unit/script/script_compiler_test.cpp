// The compiler end to end on real files: what it writes, what it refuses, and that no source can
// crash it, hang it or leave a library behind after an error.
#include "script/compiler/script_compiler.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/header_key.h"
#include "platform/headless_platform.h"
#include "script/library_format.h"
#include "unit/core/temp_directory.h"

namespace qx {
namespace {

constexpr int kDay = 9;  // the fixed clock's day of the month: the records' key

class ScriptCompilerTest : public ::testing::Test {
  protected:
    ScriptCompilerTest() { platform.setNow(DateTime{2026, 12, kDay}); }

    CompileOutcome compile(const std::string& source, bool log = false, const AttachedQuery& attached = {}) {
        dir.write("lib.s", source);
        return compileScript(CompileRequest{dir.path(), "lib.s", log}, platform, attached);
    }
    bool libraryExists() const { return std::filesystem::exists(dir.file("lib.slb")); }
    std::string fileText(const std::string& name) const {
        std::ifstream in(dir.file(name), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The library's header and records, unscrambled.
    std::vector<std::string> readLibrary() const {
        std::string file = fileText("lib.slb");
        std::vector<std::string> items;
        int length = 0;
        std::string header = file.substr(0, kHeaderFixedLength);
        scrambleText(header, kHeaderKey);
        if (!readFiveDigits(header, kHeaderLengthAt, length)) return items;
        header = file.substr(0, static_cast<std::size_t>(length));
        scrambleText(header, kHeaderKey);
        items.push_back(header);
        int key = 0;
        readFiveDigits(header, kHeaderKeyAt, key);
        for (std::size_t at = header.size(); at < file.size();) {
            std::string field = file.substr(at, kRecordNameAt);
            scrambleText(field, static_cast<uint8_t>(key));
            if (!readFiveDigits(field, kRecordLengthAt, length) || length < 7) return {};
            std::string record = file.substr(at, static_cast<std::size_t>(length));
            scrambleText(record, static_cast<uint8_t>(key));
            items.push_back(record);
            at += static_cast<std::size_t>(length);
        }
        return items;
    }

    HeadlessPlatform platform;
    testing::TempDirectory dir;
};

TEST_F(ScriptCompilerTest, RecordsReadBackWithTheDaysKey) {
    const CompileOutcome out = compile(
        "#VERSION 1.5\n"
        "#FKEY 4 \"Sum\"\n"
        "sum(val: a[], n; chr: s; cel: c) val: i, t[3]; chr: w[20];\n"
        "{ t[1] = 0; for (i = 1; i <= n; ++i) { t[1] += a[i]; }\n"
        "  s[1] = 'a'; m(c, \"a n\"); w[1] = 0; return(t[1]); }\n"
        "one() { return(1); }");
    EXPECT_EQ(out.errors, 0);
    const std::vector<std::string> items = readLibrary();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0], "~00044~00009~1.00 ~Va3.00  ~Vl  1.50~F4\"Sum\"");
    EXPECT_EQ(items[1],
              "~00131~sum(*,#,$,~)2,1,3,1,20{#$2[1]=0;for(#$1=1;#$1<=#1;++#$1){#$2[1]+=#*1[#$1];}"
              "$#1[1]='a';m(~#1,\"a n\");$$1[1]=0;return(#$2[1]);}");
    EXPECT_EQ(items[2], "~00027~one()0,0{return(1);}");
    EXPECT_EQ(out.rows.back(), "lib.slb  -  0 error(s), 0 warning(s)");
}

// Names become codes only as whole words outside strings and character constants, and not as calls.
TEST_F(ScriptCompilerTest, NamesAreReplacedAsWholeWordsOnly) {
    const CompileOutcome out = compile(
        "#SEED\n"
        "f(val: n, nn; chr: a) { a[1] = 'a' + n + nn + n(1) + m(\"n a\", a, \"(\", nn); }\n");
    EXPECT_EQ(out.errors, 0);
    const std::vector<std::string> items = readLibrary();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1], "~00062~f(#,#,$)0,0{$#1[1]='a'+#1+#2+n(1)+m(\"n a\",$#1,\"(\",#2);}");
}

TEST_F(ScriptCompilerTest, SeedStoresRecordsAsPlainText) {
    compile("#SEED\nf(val:x){return(x);}\n");
    const std::string file = fileText("lib.slb");
    EXPECT_NE(file.find("~00027~f(#)0,0{return(#1);}"), std::string::npos);
    EXPECT_EQ(readLibrary()[0].substr(0, 13), "~00027~00000~");
}

TEST_F(ScriptCompilerTest, LogHoldsTheListWithoutTheCountLine) {
    const CompileOutcome out = compile("f(val:" + std::string(60, 'x') + ") { return(0); }", true);
    const std::string log = fileText("lib.log");
    std::istringstream lines(log);
    std::vector<std::string> logged;
    for (std::string line; std::getline(lines, line);) logged.push_back(line);
    ASSERT_EQ(out.rows.size(), 4u);
    ASSERT_EQ(logged.size(), 3u);
    EXPECT_GT(out.rows[0].size(), 80u);
    EXPECT_EQ(logged[0], out.rows[0].substr(0, 80));
    EXPECT_EQ(logged[2], "This Library contains 1 scripts.  The largest is 26 bytes.");
}

TEST_F(ScriptCompilerTest, AttachedLibraryIsNotRecompiled) {
    compile("f(){return(1);}");
    const std::string before = fileText("lib.slb");
    std::string asked;
    const CompileOutcome out = compile("g(){return(2);}", false, [&](const std::string& path) {
        asked = path;
        return true;
    });
    EXPECT_TRUE(out.refused);
    EXPECT_TRUE(out.rows.empty());
    EXPECT_EQ(std::filesystem::path(asked), std::filesystem::canonical(dir.file("lib.slb")));
    EXPECT_EQ(fileText("lib.slb"), before);
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].caption, "WARNING");
    EXPECT_EQ(platform.boxes()[0].text,
              "A Script Library using the name (lib.slb) is currently attached.\n\nYou must detach it before it be "
              "recompiled.");
}

struct OverflowCase {
    const char* what;
    std::string source;
    std::string errorRow;
};

std::string lines(int count, const std::string& line) {
    std::string text;
    for (int i = 0; i < count; ++i) text += line;
    return text;
}

TEST_F(ScriptCompilerTest, OversizedScriptsAreOneErrorEach) {
    const std::string deep = std::string(10000, '(') + "1" + std::string(10000, ')');
    const std::vector<OverflowCase> cases = {
        {"5,000-line body", "f(val:x){\n" + lines(5000, "x=1;\n") + "}\ng(){return(1);}",
         "Error C1033-3 in 'f' :  (function is too large)"},
        {"600 string literals", "f(){\n" + lines(600, "m(\"s\");\n") + "}\ng(){return(1);}",
         "Error C1033-4 in 'f' :  (function is too large)"},
        {"32-character name", std::string(32, 'n') + "(){return(1);}\ng(){return(1);}",
         "Error C1006-44 in '" + std::string(32, 'n') + "' :  (illegal function name)"},
        {"10,000 nested parentheses", "f(){return" + deep + ";}\ng(){return(1);}",
         "Error C1014-60 in 'f' :  (illegal expression)"},
        {"4,000 nested blocks", "f(){" + lines(4000, "if(1){") + lines(4000, "}") + "}\ng(){return(1);}",
         "Error C1014-60 in 'f' :  (illegal expression)"},
        {"body over 32,767 characters", "f(val:x){\n" + lines(3500, "x=x+1+1+1;\n") + "}\ng(){return(1);}",
         "Error C1033-1 in 'f' :  (function is too large)"},
        {"body over 32,767 characters once names are codes",
         "f(val:x){\n" + lines(3000, "x=x+1+1+1;\n") + "}\ng(){return(1);}",
         "Error C1006-49 in 'f' :  (function is too large)"},
    };
    for (const OverflowCase& c : cases) {
        SCOPED_TRACE(c.what);
        const CompileOutcome out = compile(c.source);
        EXPECT_EQ(out.errors, 1);
        ASSERT_GE(out.rows.size(), 3u);
        EXPECT_EQ(out.rows[1], c.errorRow);
        EXPECT_NE(std::find(out.rows.begin(), out.rows.end(), "  g  (25 bytes)"), out.rows.end());
        EXPECT_FALSE(libraryExists());
    }
    // The 4,095th line still fits.
    EXPECT_EQ(compile("f(val:x){\n" + lines(4093, "x=1;\n") + "}").errors, 0);
    EXPECT_EQ(compile(std::string(31, 'n') + "(){return(1);}").errors, 0);
}

TEST_F(ScriptCompilerTest, ElevenErrorsStopTheRun) {
    const CompileOutcome out = compile(lines(20, "f(){x;}\n") + "g(){return(1);}");
    EXPECT_EQ(out.errors, 11);
    EXPECT_EQ(out.rows.back(), "lib.slb  -  11 error(s), 0 warning(s)");
    EXPECT_EQ(out.rows.size(), 11u * 4 + 1);
    EXPECT_FALSE(libraryExists());
}

// Random and mutated sources: the compiler always ends, and a library is left only without errors,
// holding exactly its records.
TEST_F(ScriptCompilerTest, RandomSourcesNeverCrashNorLeaveABadLibrary) {
    const std::vector<std::string> seeds = {
        "#FKEY 3 \"ab\"\nf(val:a,b[2];chr:s;cel:c) val:t; {t=a?b[1]:[1,2,,3]; s[1]='\"'; c=[1,1^2,2{[$]+[@]};[$]];}\n",
        "g(val:x){ if(x>1){x=-x;} elseif(x){x+=0x1f;} else{ while(x<3){++x; break;} } for(;;){continue;} "
        "return(x**2); }\n",
        "/* c */ h(){ m(\"a(b\", 1.5e+3, 017); return; } // end\n",
    };
    const std::string alphabet = "(){}[];:,?=+-*/%<>!&|^~#$@'\" \n\tabcfilrtvx01239._";
    std::mt19937 rng(20261207);
    for (int round = 0; round < 400; ++round) {
        std::string source = seeds[static_cast<std::size_t>(round) % seeds.size()];
        const int edits = 1 + static_cast<int>(rng() % 8);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = rng() % (source.size() + 1);
            const char c = round % 5 == 0 ? static_cast<char>(rng() % 256) : alphabet[rng() % alphabet.size()];
            switch (rng() % 3) {
                case 0:
                    source.insert(at, 1, c);
                    break;
                case 1:
                    if (at < source.size()) source.erase(at, 1);
                    break;
                default:
                    if (at < source.size()) source[at] = c;
                    break;
            }
        }
        SCOPED_TRACE(source);
        const CompileOutcome out = compile(source);
        ASSERT_FALSE(out.rows.empty());
        if (out.errors > 0) {
            ASSERT_FALSE(libraryExists());
            continue;
        }
        const std::vector<std::string> items = readLibrary();
        ASSERT_EQ(items.size(), static_cast<std::size_t>(out.scripts) + 1);
        for (std::size_t i = 1; i < items.size(); ++i) {
            for (char ch : items[i]) ASSERT_TRUE(ch >= 32 && ch <= 126);
        }
    }
}

}  // namespace
}  // namespace qx
