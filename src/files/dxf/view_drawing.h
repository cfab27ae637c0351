#pragma once
// The drawing list of a graph or view cell: each object it shows becomes drawing elements in world
// coordinates, in the order the view lists them.
#include "core/err_stat.h"
#include "files/dxf/drawing.h"
#include "formula/evaluator.h"

namespace qx {

class CellStore;

// Plan views and viewports draw points, segments (open figures), polygons (closed figures), curves
// (arcs from PC to PT about the radius point), texts between their two points, profiles along their
// station points and cross-sections across their profiles. A profile view draws each profile as
// station against elevation, a cross-section view each cross-section as offset against elevation.
// Graphs give their series as screen-only elements. The transformation is the identity. Fails with
// "referencing an incompatible cell type" when `cell` holds no graph or view.
bool drawingOfView(Evaluator& evaluator, CellStore& store, CellRec& cell, Drawing& out, ErrStat& err);

}  // namespace qx
