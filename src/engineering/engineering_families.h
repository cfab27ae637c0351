#pragma once
// The engineering families take their places in the registry's lookup order; the registry sits in a lower
// layer and cannot name them itself.

namespace qx {

class FunctionRegistry;

void installEngineeringFamilies(FunctionRegistry& registry);

}  // namespace qx
