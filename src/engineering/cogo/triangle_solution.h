#pragma once
// Solving a triangle from three of its parts: three sides, two sides and the angle between them, or two
// angles and a side. Side a lies opposite angle A.
#include "core/err_stat.h"

namespace qx {

struct TriangleParts {
    double angleA = 0.0;  // decimal degrees
    double angleB = 0.0;
    double angleC = 0.0;
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
};

// Every part from exactly three known ones (a part is known when above 0); "unsupported option" for
// three angles alone, two sides with an angle not between them, or any other count.
TriangleParts solveTriangle(const TriangleParts& known, ErrStat& err);

double triangleArea(const TriangleParts& t);

}  // namespace qx
