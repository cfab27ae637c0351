#include "engineering/engineering_families.h"

#include "engineering/matrix/matrix_family.h"
#include "functions/function_registry.h"

namespace qx {

void installEngineeringFamilies(FunctionRegistry& registry) {
    registry.installFamily(FamilyId::Matrix, matrixFamily());
}

}  // namespace qx
