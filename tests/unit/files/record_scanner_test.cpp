#include "files/record_scanner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace qx {
namespace {

// Tokens of a clear-text level stream; a record start is shown as '#', a failed token as "!".
std::vector<std::string> tokensOf(const std::string& stream) {
    MemoryBlockSource source(stream);
    BlockReader reader;
    ErrStat err;
    EXPECT_TRUE(reader.open(source, nullptr, err)) << stream;
    RecordScanner scanner(reader);
    std::vector<std::string> tokens;
    Token token;
    while (scanner.next(token)) tokens.push_back((token.recordStart ? "#" : "") + (token.failed ? "!" : token.text));
    return tokens;
}

using Tokens = std::vector<std::string>;

TEST(RecordScanner, CutsTheStreamIntoTokens) {
    const struct { const char* name; std::string stream; Tokens expected; } cases[] = {
        {"settings records", "~~SV3.00~~Sg{1,8}~~Sy0~~Xe", {"#SV3.00", "#Sg{", "1,8}", "#Sy0", "#Xe"}},
        {"label runs to the next record mark", "~~SV3~~R1C1P1Y0;a{b}|c\"d~~Xe", {"#SV3", "#R1C1P1Y0;a{b}|c\"d", "#Xe"}},
        {"formula with references and values",
         "~~SV3~~R2C1P0Y0J0M2{1,1|3,4,2}E1{5.000000000000000e+00|-1.#INF};[1,1]+[3,4,,2]~~Xe",
         {"#SV3", "#R2C1P0Y0J0M2{", "1,1|", "3,4,2}", "E1{", "5.000000000000000e+00|", "-1.#INF}", ";[1,1]+[3,4,,2]",
          "#Xe"}},
        {"quotes keep braces and bars",
         "~~SV3~~R1C1P0Y0J0T\"x{y}|;z\"E0{1};a~~Xe",
         {"#SV3", "#R1C1P0Y0J0T\"x{y}|;z\"E0{", "1}", ";a", "#Xe"}},
        {"single tildes are text", "~~SV3~~Sf{2,~,Arial,Times}~~Xe", {"#SV3", "#Sf{", "2,~,Arial,Times}", "#Xe"}},
        {"fill after the end", "~~SV3~~Xe~~~~~~~", {"#SV3", "#Xe"}},
        {"odd fill after the end", "~~SV3~~Xe~~~~~~", {"#SV3", "#Xe"}},
        {"record mark right after a brace", "~~SV3~~M2{~~Xe", {"#SV3", "#M2{", "#Xe"}},
        {"three tildes hide the mark", "~~SV3~~R1C1P1Y0;a~~~Xe", {"#SV3", "#R1C1P1Y0;a", "#~Xe"}},
        {"stream without end record", "~~SV3~~R1C1P1Y0;abc", {"#SV3", "#R1C1P1Y0;abc"}},
    };
    for (const auto& c : cases) EXPECT_EQ(tokensOf(c.stream), c.expected) << c.name;
}

TEST(RecordScanner, OverlongTokensFailAndReadingContinuesAtTheNextRecord) {
    std::string exact = "~~SV3~~R1C1P1Y0;" + std::string(kMaxTokenLength - 9, 'a') + "~~Xe";
    Tokens tokens = tokensOf(exact);
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[1].size(), kMaxTokenLength + 1);  // with the '#' of the record start

    std::string tooLong = "~~SV3~~R1C1P1Y0;" + std::string(kMaxTokenLength, 'a') + "{|}~~R1C2P1Y0;b~~Xe";
    EXPECT_EQ(tokensOf(tooLong), (Tokens{"#SV3", "#!", "#R1C2P1Y0;b", "#Xe"}));
}

TEST(RecordScanner, SkippingARecordResumesAtTheNextRecordMark) {
    MemoryBlockSource source("~~SV3~~Zq{1,2}|\"a|b\"3}~~Sw80~~Xe");
    BlockReader reader;
    ErrStat err;
    ASSERT_TRUE(reader.open(source, nullptr, err));
    RecordScanner scanner(reader);
    Token token;
    std::string seen;
    while (scanner.next(token)) {
        seen += token.text + " ";
        scanner.skipRecord();  // at a record's end this skips nothing
    }
    EXPECT_EQ(seen, "SV3 Zq{ Sw80 Xe ");
}

TEST(FieldCursor, ReadsNumbersByTheFileGrammar) {
    constexpr double kBig = 1.7e308;
    const struct { const char* text; bool ok; double value; std::size_t used; } cases[] = {
        {"3.00", true, 3.0, 4}, {"5.000000000000000e+00}", true, 5.0, 21}, {"-2.5E-3|", true, -0.0025, 7},
        {".5", true, 0.5, 2}, {"-.5e1", true, -5.0, 5}, {"-1.#INF|", true, -kBig, 7},
        {"+1.#INF}", true, kBig, 7}, {"1e999", true, kBig, 5}, {"1e-999", true, 0.0, 6},
        {"0.000e999", true, 0.0, 9}, {"1.7976931348623157e308", true, kBig, 22}, {"1e+}", true, 1.0, 1},
        {"0x1A", true, 0.0, 1}, {"inf", false, 0, 0}, {"1.#IND", true, 1.0, 2},
    };
    for (const auto& c : cases) {
        FieldCursor cursor(c.text);
        double value = -99;
        EXPECT_EQ(cursor.readNumber(value), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_DOUBLE_EQ(value, c.value) << c.text;
        EXPECT_EQ(cursor.position(), c.used) << c.text;
    }
}

TEST(FieldCursor, ReadsIntegersAndSaturates) {
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    const struct { const char* text; bool ok; int64_t value; std::size_t used; } cases[] = {
        {"123,4", true, 123, 3}, {"-5}", true, -5, 2},
        {"99999999999999999999", true, kMax, 20}, {"-9223372036854775808", true, kMin, 20},
        {"-99999999999999999999", true, kMin, 21}, {"x1", false, 0, 0},
    };
    for (const auto& c : cases) {
        FieldCursor cursor(c.text);
        int64_t value = -1;
        EXPECT_EQ(cursor.readInteger(value), c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(cursor.position(), c.used) << c.text;
    }
}

TEST(FieldCursor, ReadsQuotedTextUpToTheNextQuote) {
    std::string text;
    FieldCursor cursor("\"a{b}|c\"M1{");
    ASSERT_TRUE(cursor.readQuoted(text, 255));
    EXPECT_EQ(text, "a{b}|c");
    EXPECT_EQ(cursor.rest(), "M1{");
    FieldCursor cut("\"abcdef\",9");
    ASSERT_TRUE(cut.readQuoted(text, 3));
    EXPECT_EQ(text + cut.get(), "abc,");
    FieldCursor unclosed("\"abc");
    EXPECT_FALSE(unclosed.readQuoted(text, 255));
}

TEST(StoredText, AppliesTheCharacterRulesSoEveryTextReadsBack) {
    const struct { std::string text; StoredText kind; std::string expected; } cases[] = {
        {"plain text", StoredText::Label, "plain text"}, {"a~b", StoredText::Label, "a^b"},
        {std::string("tab\there\x7f\xe9", 10), StoredText::Label, "tab^here^^"},
        {"[1,1]+2", StoredText::Formula, "[1,1]+2"}, {"a~b", StoredText::Formula, "a~b"},
        {"a~~b", StoredText::Formula, "a^~b"}, {"~~~", StoredText::VariableLabel, "^^^"},
        {"ends~", StoredText::Undefined, "ends^"}, {std::string("x\ny", 3), StoredText::Formula, "x^y"},
        {"say \"hi\" ~~", StoredText::Quoted, "say 'hi' ^^"}, {"{a|b}", StoredText::Quoted, "{a|b}"},
    };
    for (const auto& c : cases) {
        std::string stored = storedText(c.text, c.kind);
        EXPECT_EQ(stored, c.expected) << c.text;
        EXPECT_EQ((stored + "~~").find("~~"), stored.size()) << "a record mark inside or across the end";
    }
}

// Every field reader at every position of a token, as a level reader might try them.
void exerciseFields(std::string_view text) {
    for (std::size_t start = 0; start < text.size(); ++start) {
        int64_t i = 0;
        double d = 0;
        std::string q;
        FieldCursor(text.substr(start)).readInteger(i);
        FieldCursor number(text.substr(start));
        if (number.readNumber(d)) {
            ASSERT_TRUE(std::isfinite(d));
        }
        FieldCursor(text.substr(start)).readQuoted(q, 255);
        ASSERT_LE(q.size(), 255u);
    }
}

TEST(RecordScanner, DamagedAndRandomFilesEndInAFailedOpenOrTheEndOfData) {
    std::mt19937 rng(2024);
    std::string body = "~~SV3.00~~Sg{1,8}~~Sp\"/tmp/a\"~~Vr{3,40}";
    for (int r = 1; r < 40; ++r) {
        body += "~~R" + std::to_string(r) + "C1P0Y0J0T\"t{" + std::to_string(r) + "}\"M1{" + std::to_string(r) +
                ",2}E2{1.5e+00|2|-1.#INF};[1,2]*" + std::to_string(r);
    }
    body += "~~Xe";
    MemoryBlockSink sink;
    BlockStream out(sink);
    ErrStat err;
    ASSERT_TRUE(out.begin(11, err) && out.append(body, err) && out.finish(err));
    const std::string valid = sink.bytes;

    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 3000; ++round) {
        std::string file;
        switch (round % 4) {
            case 0:  // truncated
                file = valid.substr(0, std::uniform_int_distribution<std::size_t>(0, valid.size())(rng));
                break;
            case 1:  // flipped bytes
                file = valid;
                for (int n = 0; n < 1 + round % 9; ++n) file[rng() % file.size()] = static_cast<char>(byte(rng));
                break;
            case 2:  // clear text with random record characters
                file = "~~S";
                for (int n = 0; n < 400; ++n) file.push_back("~~{}|\";,0123.e-+#INFRCPYJTMEG aZ"[rng() % 33]);
                break;
            default:  // garbage
                for (int n = 0; n < 1 + round % 700; ++n) file.push_back(static_cast<char>(byte(rng)));
        }
        MemoryBlockSource source(file);
        BlockReader reader;
        if (!reader.open(source, nullptr, err)) {
            ASSERT_EQ(err.code, 39);
            continue;
        }
        RecordScanner scanner(reader);
        Token token;
        std::size_t tokens = 0;
        while (scanner.next(token)) {
            ASSERT_LE(token.text.size(), kMaxTokenLength);
            ASSERT_LE(++tokens, file.size());
            if (tokens % 3 == 0) scanner.skipRecord();
            exerciseFields(token.text);
        }
    }
}

}  // namespace
}  // namespace qx
