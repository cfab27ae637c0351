#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "files/dxf/dxf_writer.h"
#include "unit/core/temp_directory.h"

namespace qx {
namespace {

using DxfGroups = std::vector<std::pair<std::string, std::string>>;

std::string dxfOf(const Drawing& d, bool expectOk = true) {
    std::ostringstream out;
    ErrStat err;
    EXPECT_EQ(writeDxf(d, out, kDxfLayer, err), expectOk);
    EXPECT_EQ(err.failed(), !expectOk);
    return out.str();
}

DxfGroups dxfGroups(const std::string& text) {
    DxfGroups groups;
    std::istringstream in(text);
    std::string code;
    std::string value;
    while (std::getline(in, code) && std::getline(in, value)) groups.emplace_back(code, value);
    return groups;
}

// The values of every group `code` in the file, in order.
std::vector<std::string> dxfValues(const std::string& text, const std::string& code) {
    std::vector<std::string> values;
    for (const auto& [c, v] : dxfGroups(text)) {
        if (c == code) values.push_back(v);
    }
    return values;
}

DrawingElement dxfElement(DrawingKind kind, std::vector<Vec3> points, bool threeD = false) {
    DrawingElement e;
    e.kind = kind;
    e.points = std::move(points);
    e.threeD = threeD;
    return e;
}

Drawing drawingWith(DrawingElement e) {
    Drawing d;
    d.elements.push_back(std::move(e));
    return d;
}

TEST(DxfWriter, EmptyViewGivesOnlyTheSectionAndEof) {
    EXPECT_EQ(dxfOf(Drawing{}), "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n");
}

TEST(DxfWriter, OpenTwoDimensionalFigureWritesEveryVertexWithZeroZ) {
    const std::string text =
        dxfOf(drawingWith(dxfElement(DrawingKind::OpenFigure, {{1, 2, 7}, {3.5, -4, 7}, {0, 0, 7}})));
    const std::string vertex = "  0\nVERTEX\n  8\n0\n";
    EXPECT_EQ(text,
              "  0\nSECTION\n  2\nENTITIES\n"
              "  0\nPOLYLINE\n  8\n0\n 66\n     1\n 70\n     0\n" +
                  vertex + " 10\n1.000000\n 20\n2.000000\n 30\n0.000000\n" + vertex +
                  " 10\n3.500000\n 20\n-4.000000\n 30\n0.000000\n" + vertex +
                  " 10\n0.000000\n 20\n0.000000\n 30\n0.000000\n"
                  "  0\nSEQEND\n  8\n0\n  0\nENDSEC\n  0\nEOF\n");
}

TEST(DxfWriter, PolylinesKeepEveryPointButARepeatedClosingOne) {
    const struct {
        const char* name;
        DrawingKind kind;
        bool threeD;
        std::vector<Vec3> points;
        const char* flags;
        std::size_t vertices;
    } cases[] = {
        {"open 3-D keeps its last point",
         DrawingKind::OpenFigure,
         true,
         {{0, 0, 1}, {1, 0, 2}, {1, 1, 3}},
         "     8",
         3},
        {"closed 3-D drops the repeat",
         DrawingKind::ClosedFigure,
         true,
         {{0, 0, 1}, {1, 0, 2}, {1, 1, 3}, {0, 0, 1}},
         "     9",
         3},
        {"closed 3-D keeps a last point that differs",
         DrawingKind::ClosedFigure,
         true,
         {{0, 0, 1}, {1, 0, 2}, {1, 1, 3}, {0, 0, 5}},
         "     9",
         4},
        {"closed 2-D drops the repeat",
         DrawingKind::ClosedFigure,
         false,
         {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 0, 0}},
         "     1",
         3},
        {"open 2-D of two points", DrawingKind::OpenFigure, false, {{0, 0, 0}, {0, 0, 0}}, "     0", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = dxfOf(drawingWith(dxfElement(c.kind, c.points, c.threeD)));
        EXPECT_EQ(dxfValues(text, " 70").front(), c.flags);
        EXPECT_EQ(dxfValues(text, " 10").size(), c.vertices);
        EXPECT_EQ(dxfValues(text, " 70").size(), 1 + (c.threeD ? c.vertices : 0));
        if (c.threeD) {
            EXPECT_EQ(dxfValues(text, " 70").back(), "    32");
        }
    }
}

TEST(DxfWriter, FiguresOfFewerThanTwoPointsWriteNothing) {
    const std::string empty = dxfOf(Drawing{});
    EXPECT_EQ(dxfOf(drawingWith(dxfElement(DrawingKind::OpenFigure, {{1, 1, 1}}, true))), empty);
    EXPECT_EQ(dxfOf(drawingWith(dxfElement(DrawingKind::ClosedFigure, {}))), empty);
    DrawingElement hidden = dxfElement(DrawingKind::ClosedFigure, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
    hidden.conditional = true;
    hidden.shown = false;
    EXPECT_EQ(dxfOf(drawingWith(hidden)), empty);
}

TEST(DxfWriter, TextModesPlaceTheAlignmentPoint) {
    // Height 2 is written 1.5; "abcd" is estimated 4 * 1.5 - 0.45 = 5.55 long, on a segment 10 long.
    const struct {
        const char* name;
        int mode;
        const char* text;
        Vec3 end;
        bool written;
        const char* justify;  // nullptr: no group 72
        const char* alignX;
        const char* insertX;
        const char* rotation;  // nullptr: no group 50
    } cases[] = {
        {"left", 0, "abcd", {10, 0, 0}, true, nullptr, nullptr, "0.000000", nullptr},
        {"above 4 is left", 9, "abcd", {10, 0, 0}, true, nullptr, nullptr, "0.000000", nullptr},
        {"right", 1, "abcd", {10, 0, 0}, true, "     2", "5.550000", "0.000000", nullptr},
        {"centred", 2, "abcd", {10, 0, 0}, true, "     1", "5.000000", "2.225000", nullptr},
        {"fit", 3, "abcd", {10, 0, 0}, true, "     5", "10.000000", "0.000000", nullptr},
        {"centred with room", 4, "abcd", {10, 0, 0}, true, "     1", "5.000000", "2.225000", nullptr},
        {"too long for its segment", 4, "abcdefghijkl", {10, 0, 0}, false, nullptr, nullptr, nullptr, nullptr},
        {"upward is 90 degrees", 0, "abcd", {0, 10, 0}, true, nullptr, nullptr, "0.000000", "90.000000"},
        {"down-left is 225 degrees", 0, "abcd", {-3, -3, 0}, true, nullptr, nullptr, "0.000000", "225.000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DrawingElement e = dxfElement(DrawingKind::Text, {{0, 0, 0}, c.end, c.end});
        e.text = c.text;
        e.height = 2;
        e.mode = c.mode;
        const std::string text = dxfOf(drawingWith(e));
        if (!c.written) {
            EXPECT_EQ(text, dxfOf(Drawing{}));
            continue;
        }
        EXPECT_EQ(dxfValues(text, " 40"), std::vector<std::string>{"1.500000"});
        EXPECT_EQ(dxfValues(text, " 10"), std::vector<std::string>{c.insertX});
        EXPECT_EQ(dxfValues(text, " 50"),
                  c.rotation ? std::vector<std::string>{c.rotation} : std::vector<std::string>{});
        EXPECT_EQ(dxfValues(text, " 72"), c.justify ? std::vector<std::string>{c.justify} : std::vector<std::string>{});
        EXPECT_EQ(dxfValues(text, " 11"), c.alignX ? std::vector<std::string>{c.alignX} : std::vector<std::string>{});
    }
}

TEST(DxfWriter, TextControlCharactersBecomeBlanksSoGroupsStayPaired) {
    DrawingElement e = dxfElement(DrawingKind::Text, {{0, 0, 0}, {1, 0, 0}, {1, 0, 0}});
    e.text = std::string("a\nb\rc\td\0e", 9);
    const std::string text = dxfOf(drawingWith(e));
    EXPECT_EQ(dxfValues(text, "  1"), std::vector<std::string>{"a b c d e"});
    EXPECT_EQ(dxfGroups(text).back(), (std::pair<std::string, std::string>{"  0", "EOF"}));
}

TEST(DxfWriter, ArcsRunCounterClockwiseFromStartToEnd) {
    const struct {
        const char* name;
        bool clockwise;
        bool mirrored;
        const char* start;
        const char* end;
    } cases[] = {
        {"counter-clockwise", false, false, "0.000000", "90.000000"},
        {"clockwise swaps", true, false, "90.000000", "0.000000"},
        {"mirrored counter-clockwise swaps", false, true, "90.000000", "180.000000"},
        {"mirrored clockwise", true, true, "180.000000", "90.000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DrawingElement e = dxfElement(DrawingKind::Arc, {{1, 1, 0}, {4, 1, 0}, {1, 4, 0}});
        e.clockwise = c.clockwise;
        Drawing d = drawingWith(e);
        if (c.mirrored) d.transform.m[0] = -1.0;
        const std::string text = dxfOf(d);
        EXPECT_EQ(dxfValues(text, " 40"), std::vector<std::string>{"3.000000"});
        EXPECT_EQ(dxfValues(text, " 50"), std::vector<std::string>{c.start});
        EXPECT_EQ(dxfValues(text, " 51"), std::vector<std::string>{c.end});
    }
}

TEST(DxfWriter, EveryCoordinateGoesThroughTheTransformation) {
    Drawing d = drawingWith(dxfElement(DrawingKind::Point, {{1, 2, 3}}, true));
    d.transform.m = {2, 0, 0, 10, 0, 2, 0, 20, 0, 0, 1, 30, 0, 0, 0, 1};
    const std::string text = dxfOf(d);
    EXPECT_EQ(dxfValues(text, " 10"), std::vector<std::string>{"12.000000"});
    EXPECT_EQ(dxfValues(text, " 20"), std::vector<std::string>{"24.000000"});
    EXPECT_EQ(dxfValues(text, " 30"), std::vector<std::string>{"33.000000"});
}

TEST(DxfWriter, RefusedInputFailsTheExport) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    dxfOf(drawingWith(dxfElement(static_cast<DrawingKind>(12), {{0, 0, 0}})), false);
    dxfOf(drawingWith(dxfElement(DrawingKind::Point, {{nan, 0, 0}})), false);
    dxfOf(drawingWith(dxfElement(DrawingKind::Arc, {{0, 0, 0}})), false);

    std::ostringstream out;
    DxfWriter w(out);
    ErrStat err;
    const double values[] = {0, 0, 1, 1};
    EXPECT_FALSE(w.polyline(values, kDxfLayer, 2, false, err));
    EXPECT_FALSE(w.text("x", kDxfLayer, {}, {}, 0, 1.0, 0.0, 3, err));
    EXPECT_FALSE(w.text("x", kDxfLayer, {}, {}, 2, 1.0, 0.0, 0, err));
}

TEST(DxfWriter, AFailedExportLeavesNoFileBehind) {
    testing::TempDirectory dir;
    Drawing d = drawingWith(dxfElement(DrawingKind::Point, {{1, 1, 0}}));
    d.elements.push_back(dxfElement(static_cast<DrawingKind>(2), {}));
    ErrStat err;
    const std::string path = dir.file("half.dxf");
    EXPECT_FALSE(exportDxfFile(d, path, kDxfLayer, err));
    EXPECT_FALSE(std::filesystem::exists(path));

    EXPECT_FALSE(exportDxfFile(Drawing{}, dir.file("missing/x.dxf"), kDxfLayer, err));
    EXPECT_TRUE(err.failed());
    EXPECT_FALSE(exportDxfFile(Drawing{}, dir.file(std::string("cut\0.dxf", 8)), kDxfLayer, err));
    EXPECT_FALSE(std::filesystem::exists(dir.file("cut")));
    EXPECT_TRUE(err.failed());
    EXPECT_TRUE(exportDxfFile(Drawing{}, dir.file("whole.dxf"), kDxfLayer, err));
    EXPECT_TRUE(std::filesystem::exists(dir.file("whole.dxf")));
}

// Any element list, however odd its values, gives whole group pairs ending in EOF, or a failure.
TEST(DxfWriter, RandomDrawingsGiveWholeFilesOrFail) {
    std::mt19937 rng(16);
    const double odd[] = {
        0.0, -0.0, 1e300, -1e-300, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
    const int kinds[] = {0, 1, 4, 5, 6, 7, 29, 30, 31};
    auto number = [&] {
        return rng() % 8 == 0 ? odd[rng() % std::size(odd)]
                              : static_cast<double>(static_cast<int>(rng() % 2001) - 1000) / 7.0;
    };
    for (int round = 0; round < 300; ++round) {
        Drawing d;
        for (int n = static_cast<int>(rng() % 6); n > 0; --n) {
            DrawingElement e;
            e.kind = static_cast<DrawingKind>(kinds[rng() % std::size(kinds)]);
            for (int p = static_cast<int>(rng() % 5); p > 0; --p) e.points.push_back({number(), number(), number()});
            e.threeD = rng() % 2 == 0;
            e.clockwise = rng() % 2 == 0;
            e.mode = static_cast<int>(rng() % 7) - 1;
            e.height = number();
            for (int c = static_cast<int>(rng() % 6); c > 0; --c) e.text.push_back(static_cast<char>(rng() % 256));
            d.elements.push_back(std::move(e));
        }
        std::ostringstream out;
        ErrStat err;
        if (!writeDxf(d, out, kDxfLayer, err)) continue;
        const std::string text = out.str();
        ASSERT_EQ(std::count(text.begin(), text.end(), '\n') % 2, 0) << text;
        ASSERT_EQ(dxfGroups(text).back(), (std::pair<std::string, std::string>{"  0", "EOF"}));
        for (const auto& [code, value] : dxfGroups(text)) {
            ASSERT_EQ(code.size(), 3u);
            ASSERT_EQ(value.find_first_of("\r\t"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace qx
