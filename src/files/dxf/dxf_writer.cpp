#include "files/dxf/dxf_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <vector>

#include "core/paths.h"
#include "files/origins.h"

namespace qx {

using namespace origins::files;

namespace {

constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
// What the screen's text height becomes in the drawing, and the share of one letter's width that the
// last letter of a text does not take.
constexpr double kTextHeightScale = 0.75;
constexpr double kTrailingLetterShare = 0.3;
constexpr int kPolylineOpen2D = 0;
constexpr int kPolylineClosedFlag = 1;
constexpr int kPolyline3DFlag = 8;

// Degrees counter-clockwise from +x in [0, 360).
double directionDegrees(double dx, double dy) {
    double a = std::atan2(dy, dx) * kDegreesPerRadian;
    if (a < 0.0) a += 360.0;
    return a >= 360.0 ? 0.0 : a;
}

bool sameValues(std::span<const double> a, std::span<const double> b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) return false;
    }
    return true;
}

bool writeFigure(DxfWriter& w, const DrawingElement& e, const ViewTransform& t, std::string_view layer, ErrStat& err) {
    if (e.kind == DrawingKind::ClosedFigure && e.conditional && !e.shown) return true;
    std::vector<double> values;
    values.reserve(e.points.size() * 3);
    for (const Vec3& p : e.points) {
        const Vec3 q = t.apply(e.threeD ? p : Vec3{p.x, p.y, 0.0});
        values.push_back(q.x);
        values.push_back(q.y);
        if (e.threeD) values.push_back(q.z);
    }
    return w.polyline(values, layer, e.threeD ? 1 : 0, e.kind == DrawingKind::ClosedFigure, err);
}

bool writeArc(DxfWriter& w, const DrawingElement& e, const ViewTransform& t, std::string_view layer, ErrStat& err) {
    if (e.points.size() < 3) return err.fail(kDxfElementOrigin, 1, Msg::WrongParameters);
    const Vec3 centre = t.apply(e.points[0]);
    const Vec3 start = t.apply(e.points[1]);
    const Vec3 end = t.apply(e.points[2]);
    double a0 = directionDegrees(start.x - centre.x, start.y - centre.y);
    double a1 = directionDegrees(end.x - centre.x, end.y - centre.y);
    // DXF arcs always run counter-clockwise from group 50 to group 51.
    if (e.clockwise != t.mirrors()) std::swap(a0, a1);
    return w.arc(centre, planDistance(centre, start), a0, a1, layer, err);
}

bool writeText(DxfWriter& w, const DrawingElement& e, const ViewTransform& t, std::string_view layer, ErrStat& err) {
    if (e.points.size() < 3) return err.fail(kDxfElementOrigin, 2, Msg::WrongParameters);
    Vec3 insertion = t.apply(e.points[0]);
    const Vec3 towards = t.apply(e.points[1]);
    const Vec3 end = t.apply(e.points[2]);
    const double height = kTextHeightScale * e.height;
    const double textLength = static_cast<double>(e.text.size()) * height - kTrailingLetterShare * height;
    const double reach = length(towards - insertion);
    const Vec3 along = reach > 0.0 ? (1.0 / reach) * (towards - insertion) : Vec3{1.0, 0.0, 0.0};
    const double rotation = directionDegrees(along.x, along.y);
    const double segment = length(end - insertion);
    Vec3 alignment;
    DxfJustify justify = DxfJustify::Left;
    switch (static_cast<TextMode>(e.mode)) {
        case TextMode::Right:
            justify = DxfJustify::Right;
            alignment = insertion + textLength * along;
            break;
        case TextMode::CentredIfRoom:
            if (textLength > segment) return true;
            [[fallthrough]];
        case TextMode::Centred:
            justify = DxfJustify::Centre;
            alignment = insertion + (0.5 * segment) * along;
            insertion = alignment - (0.5 * textLength) * along;
            break;
        case TextMode::Fit:
            justify = DxfJustify::Fit;
            alignment = end;
            break;
        default:
            break;
    }
    return w.text(e.text, layer, insertion, alignment, e.threeD ? 1 : 0, height, rotation, static_cast<int>(justify),
                  err);
}

bool writeElement(DxfWriter& w, const DrawingElement& e, const ViewTransform& t, std::string_view layer, ErrStat& err) {
    switch (e.kind) {
        case DrawingKind::Text:
            return writeText(w, e, t, layer, err);
        case DrawingKind::Point:
            if (e.points.empty()) return err.fail(kDxfElementOrigin, 3, Msg::WrongParameters);
            return w.point(t.apply(e.points[0]), layer, err);
        case DrawingKind::OpenFigure:
        case DrawingKind::ClosedFigure:
            return writeFigure(w, e, t, layer, err);
        case DrawingKind::Arc:
            return writeArc(w, e, t, layer, err);
        case DrawingKind::LineSeries:
        case DrawingKind::BarSeries:
            return true;
    }
    return err.fail(kDxfElementOrigin, 4, Msg::IllegalFileType);
}

}  // namespace

std::string dxfReal(double value) {
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 6);
    return std::string(buf, r.ptr);
}

bool DxfWriter::group(std::string_view code, std::string_view value, Origin origin, ErrStat& err) {
    m_out << code << '\n' << value << '\n';
    if (!m_out) return err.fail(origin, 90, Msg::IoError);
    return true;
}

// A coordinate that is not finite would give a file no reader accepts.
bool DxfWriter::real(std::string_view code, double value, Origin origin, ErrStat& err) {
    if (!std::isfinite(value)) return err.fail(origin, 91, Msg::ExceedsInfinity);
    return group(code, dxfReal(value), origin, err);
}

bool DxfWriter::coordinates(Vec3 p, std::string_view x, std::string_view y, std::string_view z, Origin origin,
                            ErrStat& err) {
    return real(x, p.x, origin, err) && real(y, p.y, origin, err) && real(z, p.z, origin, err);
}

bool DxfWriter::beginEntities(ErrStat& err) {
    err.enter();
    return group("  0", "SECTION", kDxfExportOrigin, err) && group("  2", "ENTITIES", kDxfExportOrigin, err);
}

bool DxfWriter::endFile(ErrStat& err) {
    err.enter();
    return group("  0", "ENDSEC", kDxfExportOrigin, err) && group("  0", "EOF", kDxfExportOrigin, err);
}

bool DxfWriter::point(Vec3 p, std::string_view layer, ErrStat& err) {
    err.enter();
    return group("  0", "POINT", kDxfPointOrigin, err) && group("  8", layer, kDxfPointOrigin, err) &&
           coordinates(p, " 10", " 20", " 30", kDxfPointOrigin, err);
}

bool DxfWriter::polyline(std::span<const double> values, std::string_view layer, int threeD, bool closed,
                         ErrStat& err) {
    err.enter();
    if (threeD != 0 && threeD != 1) return err.fail(kDxfPolylineOrigin, 1, Msg::IllegalParameter);
    const std::size_t step = threeD ? 3 : 2;
    std::size_t count = values.size() / step;
    if (count < 2) return true;
    // The closing edge is drawn by the closed flag; a repeated first point would only add a null edge.
    if (closed && count > 2 && sameValues(values.subspan(0, step), values.subspan((count - 1) * step, step))) {
        --count;
    }
    const int flags = (closed ? kPolylineClosedFlag : kPolylineOpen2D) | (threeD ? kPolyline3DFlag : 0);
    const Origin o = kDxfPolylineOrigin;
    if (!group("  0", "POLYLINE", o, err) || !group("  8", layer, o, err) || !group(" 66", "     1", o, err) ||
        !group(" 70", "     " + std::to_string(flags), o, err)) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const double* v = &values[i * step];
        const Vec3 p{v[0], v[1], threeD ? v[2] : 0.0};
        if (!group("  0", "VERTEX", o, err) || !group("  8", layer, o, err) ||
            !coordinates(p, " 10", " 20", " 30", o, err)) {
            return false;
        }
        if (threeD && !group(" 70", "    32", o, err)) return false;
    }
    return group("  0", "SEQEND", o, err) && group("  8", layer, o, err);
}

bool DxfWriter::arc(Vec3 centre, double radius, double startAngle, double endAngle, std::string_view layer,
                    ErrStat& err) {
    err.enter();
    const Origin o = kDxfArcOrigin;
    return group("  0", "ARC", o, err) && group("  8", layer, o, err) &&
           coordinates(centre, " 10", " 20", " 30", o, err) && real(" 40", radius, o, err) &&
           real(" 50", startAngle, o, err) && real(" 51", endAngle, o, err);
}

bool DxfWriter::text(std::string_view text, std::string_view layer, Vec3 insertion, Vec3 alignment, int threeD,
                     double height, double rotation, int justification, ErrStat& err) {
    err.enter();
    const Origin o = kDxfTextOrigin;
    if (threeD != 0 && threeD != 1) return err.fail(o, 1, Msg::IllegalParameter);
    const auto j = static_cast<DxfJustify>(justification);
    if (j != DxfJustify::Left && j != DxfJustify::Centre && j != DxfJustify::Right && j != DxfJustify::Fit) {
        return err.fail(o, 2, Msg::IllegalParameter);
    }
    if (!threeD) insertion.z = alignment.z = 0.0;
    // A control character would end the value line early and shift every group pair after it.
    std::string shown(text);
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    }
    if (!group("  0", "TEXT", o, err) || !group("  8", layer, o, err) ||
        !coordinates(insertion, " 10", " 20", " 30", o, err) || !real(" 40", height, o, err) ||
        !group("  1", shown, o, err)) {
        return false;
    }
    if (dxfReal(rotation) != dxfReal(0.0) && !real(" 50", rotation, o, err)) return false;
    if (j == DxfJustify::Left) return true;
    return group(" 72", "     " + std::to_string(justification), o, err) &&
           coordinates(alignment, " 11", " 21", " 31", o, err);
}

bool writeDxf(const Drawing& drawing, std::ostream& out, std::string_view layer, ErrStat& err) {
    err.enter();
    DxfWriter w(out);
    if (!w.beginEntities(err)) return err.trace(kDxfExportOrigin), false;
    for (const DrawingElement& e : drawing.elements) {
        if (!writeElement(w, e, drawing.transform, layer, err)) return err.trace(kDxfExportOrigin), false;
    }
    if (!w.endFile(err)) return err.trace(kDxfExportOrigin), false;
    return true;
}

bool exportDxfFile(const Drawing& drawing, const std::string& path, std::string_view layer, ErrStat& err) {
    err.enter();
    if (!checkPathText(path, err)) return err.trace(kDxfExportOrigin), false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) return err.fail(kDxfExportOrigin, 1, Msg::CannotOpenFile);
    bool ok = writeDxf(drawing, out, layer, err);
    out.close();
    if (ok && out.fail()) ok = err.fail(kDxfExportOrigin, 2, Msg::IoError);
    if (!ok) std::remove(path.c_str());
    return ok;
}

}  // namespace qx
