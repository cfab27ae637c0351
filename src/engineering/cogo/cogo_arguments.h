#pragma once
// What the coordinate functions share: reading point, segment and plane cells and the angle arguments,
// and writing the result object into the calling cell.
#include <optional>
#include <span>
#include <vector>

#include "core/cell_records.h"
#include "core/err_stat.h"
#include "core/messages.h"
#include "core/object_kind.h"
#include "engineering/cogo/direction.h"
#include "engineering/cogo/plane_frame.h"
#include "engineering/cogo/vec3.h"
#include "functions/function_registry.h"

namespace qx {

class FunctionCall;

// A failure with a message of the coordinate geometry table, raised by the function itself: the origin
// names the geometry library and the function's routine, and the function's own trace follows.
double geometryFailure(FunctionCall& call, ErrStat& err, Origin origin, int32_t point, L06 message);

// An empty argument list "()" (blanks allowed), consumed: the call is in NULL form.
bool noArguments(FunctionCall& call);

// The points an object cell holds: 3 values a point when its 3-D mark is set, else 2 (z = 0).
std::vector<Vec3> cellPoints(const FormulaRec& formula);

// The formula cell a cell argument names. An empty place fails with `emptyCode`, a label with
// "referencing an incompatible cell type", a formula in error with "referencing an undefined cell or a
// bad value"; an argument that is no cell address is "wrong number or type of parameters".
const CellRec* objectCellArgument(FunctionCall& call, Msg emptyCode, Origin origin, ErrStat& err);

// The point a cell argument names: a point, or the PT of a curve.
bool pointArgument(FunctionCall& call, Vec3& out, Origin origin, ErrStat& err, Msg emptyCode = Msg::EmptyCell);

// Appends the points of a point, segment or polygon cell argument and tells which it was.
bool pointListArgument(FunctionCall& call, std::vector<Vec3>& out, ObjectKind& kind, Origin origin, ErrStat& err);

// "referencing an incompatible cell type" for an argument of the wrong kind.
bool incompatibleArgument(FunctionCall& call, Origin origin, ErrStat& err);

// Exactly `count` numbers, then, when `planeAllowed`, an optional cell naming the plane to work in
// (a point, whose coordinates are the normal, or a curve or text, whose stored normal is used).
bool numbersAndPlane(FunctionCall& call, double* values, int count, bool planeAllowed, std::optional<Vec3>& normal,
                     Origin origin, ErrStat& err);

// The frame of the plane through `origin`; identity without a plane. A zero normal is refused.
bool frameFor(FunctionCall& call, const std::optional<Vec3>& normal, Vec3 through, PlaneFrame& frame, Origin origin,
              ErrStat& err);

// Mode 0..3, type 0..8 and fmt 0..4 as whole numbers: "A parameter is out-of-range." otherwise.
bool modeArgument(FunctionCall& call, double v, int& mode, Origin origin, ErrStat& err);
bool typeArgument(FunctionCall& call, double v, AngleType& type, Origin origin, ErrStat& err);
bool formatArgument(FunctionCall& call, double v, int& displayCode, Origin origin, ErrStat& err);

// What a coordinate function sets in its cell besides the values.
struct CellResult {
    ObjectKind kind = ObjectKind::Number;
    int displayCode = 0;  // 0 leaves the format alone
    std::optional<int> mode;
    std::optional<AngleType> type;  // stored as type + 1
    bool clearType = false;
    bool threeD = false;
};

// The calling cell made an object of `result.kind` holding `values`.
bool storeResult(FunctionCall& call, CellRec& cell, const CellResult& result, std::span<const double> values,
                 Origin origin, ErrStat& err);

// Sets kind, flags and format without touching the Array Area (the NULL forms).
void markResult(CellRec& cell, const CellResult& result);

// Releases the calling cell's Array Area when the call fails, so no stale geometry stays readable.
class FailedResultRelease {
  public:
    FailedResultRelease(FunctionCall& call, const ErrStat& err) : m_call(call), m_err(err) {}
    ~FailedResultRelease();
    FailedResultRelease(const FailedResultRelease&) = delete;
    FailedResultRelease& operator=(const FailedResultRelease&) = delete;

  private:
    FunctionCall& m_call;
    const ErrStat& m_err;
};

}  // namespace qx
