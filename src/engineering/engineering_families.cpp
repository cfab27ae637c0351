#include "engineering/engineering_families.h"

#include "engineering/cogo/cogo_functions.h"
#include "engineering/matrix/matrix_family.h"
#include "engineering/road/road_functions.h"
#include "engineering/statistics/statistics_family.h"
#include "functions/function_registry.h"

namespace qx {

void installEngineeringFamilies(FunctionRegistry& registry) {
    registry.installFamily(FamilyId::Matrix, matrixFamily());
    registry.installFamily(FamilyId::Geometry, geometryFamily());
    registry.installFamily(FamilyId::Road, roadFamily());
    registry.installFamily(FamilyId::Summary, summaryFamily());
    registry.installFamily(FamilyId::Distributions, distributionFamily());
    registry.installFamily(FamilyId::Regression, regressionFamily());
}

}  // namespace qx
