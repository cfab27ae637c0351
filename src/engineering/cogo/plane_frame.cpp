#include "engineering/cogo/plane_frame.h"

#include <cmath>

namespace qx {

namespace {

Vec3 unit(Vec3 v) {
    return (1.0 / length(v)) * v;
}

// Points are rows, so a point's frame coordinates are its dot products with the axes: the axes are the
// columns.
Matrix axesAsColumns(Vec3 ex, Vec3 ey, Vec3 ez) {
    Matrix m = Matrix::identity(4);
    const Vec3 axes[3] = {ex, ey, ez};
    for (int j = 0; j < 3; ++j) {
        const Vec3 a = axes[j];
        m(0, j) = a.x;
        m(1, j) = a.y;
        m(2, j) = a.z;
    }
    return m;
}

}  // namespace

Vec3 PlaneFrame::apply(const Matrix& m, Vec3 p) {
    const Point3 r = transformPoint(m, Point3{p.x, p.y, p.z});
    return {r[0], r[1], r[2]};
}

std::optional<PlaneFrame> PlaneFrame::through(Vec3 origin, Vec3 normal) {
    const double n = length(normal);
    if (!(n > 0.0) || !std::isfinite(n)) return std::nullopt;
    const Vec3 ez = (1.0 / n) * normal;
    Vec3 ex = Vec3{1, 0, 0} - ez.x * ez;
    // Along world x the projection vanishes; world y takes its place.
    if (length(ex) < 1e-12) ex = Vec3{0, 1, 0} - ez.y * ez;
    ex = unit(ex);
    const Vec3 ey = cross(ez, ex);
    ErrStat err;
    PlaneFrame f;
    f.m_toPlane = matrixProduct(translation4(-origin.x, -origin.y, -origin.z), axesAsColumns(ex, ey, ez), err);
    f.m_fromPlane = matrixInverse(f.m_toPlane, err);
    if (err.failed()) return std::nullopt;
    f.m_tilted = true;
    return f;
}

}  // namespace qx
