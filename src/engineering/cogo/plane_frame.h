#pragma once
// Working in a tilted plane: a homogeneous 4 x 4 transformation takes an origin point to (0, 0, 0) and
// the plane's normal onto the z axis, so the plane computations run on x and y; its inverse brings the
// results back. The frame's x axis is world x projected onto the plane (world y when the normal lies
// along x), and its y axis is normal x frame x.
#include <optional>

#include "engineering/cogo/vec3.h"
#include "engineering/matrix/matrix_math.h"

namespace qx {

class PlaneFrame {
  public:
    // Without a plane every point maps to itself.
    PlaneFrame() = default;

    // Empty for a normal of zero length.
    static std::optional<PlaneFrame> through(Vec3 origin, Vec3 normal);

    Vec3 toPlane(Vec3 p) const { return m_tilted ? apply(m_toPlane, p) : p; }
    Vec3 fromPlane(Vec3 p) const { return m_tilted ? apply(m_fromPlane, p) : p; }

  private:
    static Vec3 apply(const Matrix& m, Vec3 p);

    bool m_tilted = false;
    Matrix m_toPlane;
    Matrix m_fromPlane;
};

}  // namespace qx
