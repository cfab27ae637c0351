#pragma once
// The function fixture with the engineering families installed, as a session has them.
#include "engineering/engineering_families.h"
#include "unit/functions/function_fixture.h"

namespace qx::test {

class EngineeringFixture : public FunctionFixture {
  public:
    EngineeringFixture() { installEngineeringFamilies(registry); }
};

}  // namespace qx::test
