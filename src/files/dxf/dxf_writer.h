#pragma once
// ASCII DXF drawings of a view: one ENTITIES section of POINT, POLYLINE, ARC and TEXT entities, without
// HEADER, TABLES or BLOCKS, which every DXF reader accepts.
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "core/err_stat.h"
#include "files/dxf/drawing.h"

namespace qx {

inline constexpr std::string_view kDxfLayer = "0";

// DXF TEXT justification (group 72).
enum class DxfJustify : int { Left = 0, Centre = 1, Right = 2, Fit = 5 };

// The entity writers. Coordinates are written as given (already transformed); angles are degrees
// counter-clockwise from +x. Each returns false with `err` failed when a value cannot be written.
class DxfWriter {
  public:
    explicit DxfWriter(std::ostream& out) : m_out(out) {}

    bool beginEntities(ErrStat& err);
    bool endFile(ErrStat& err);

    bool point(Vec3 p, std::string_view layer, ErrStat& err);
    // `values` holds x, y per point (`threeD` 0) or x, y, z (`threeD` 1); fewer than two points write
    // nothing. A closed figure that repeats its first point at the end is written without the repeat.
    bool polyline(std::span<const double> values, std::string_view layer, int threeD, bool closed, ErrStat& err);
    bool arc(Vec3 centre, double radius, double startAngle, double endAngle, std::string_view layer, ErrStat& err);
    // `alignment` is written only for a justification other than Left; `threeD` 0 writes z as 0.
    bool text(std::string_view text, std::string_view layer, Vec3 insertion, Vec3 alignment, int threeD, double height,
              double rotation, int justification, ErrStat& err);

  private:
    bool group(std::string_view code, std::string_view value, Origin origin, ErrStat& err);
    bool real(std::string_view code, double value, Origin origin, ErrStat& err);
    bool coordinates(Vec3 p, std::string_view x, std::string_view y, std::string_view z, Origin origin, ErrStat& err);

    std::ostream& m_out;
};

// A real number as DXF values carry it: six decimals, whatever the locale.
std::string dxfReal(double value);

// Writes the whole file: section start, each element transformed by the drawing's transformation, the
// section end and "EOF". A kind that has no DXF form fails the export.
bool writeDxf(const Drawing& drawing, std::ostream& out, std::string_view layer, ErrStat& err);

// Writes the drawing to `path`. A file that cannot be created or written fails, and a half-written file
// is removed, so a DXF on disk is always whole.
bool exportDxfFile(const Drawing& drawing, const std::string& path, std::string_view layer, ErrStat& err);

}  // namespace qx
