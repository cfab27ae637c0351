#include "app/dxf_commands.h"

#include <string>

#include "app/origins.h"
#include "app/session.h"
#include "core/err_report.h"
#include "core/paths.h"
#include "files/dxf/dxf_writer.h"
#include "files/dxf/view_drawing.h"
#include "files/open_save.h"
#include "protect/protection.h"

namespace qx {

using namespace origins::app;

bool exportViewDxf(Session& session, int row, int col, int level, std::string_view path, ErrStat& err) {
    err.enter();
    if (level == 0) level = session.activeLevel();
    if (!checkPathText(path, err)) return err.trace(kOriginDxfExport), false;
    Platform& platform = session.platform();
    const SplitPath where = splitPath(path);
    const int code = extensionCode(where.name);
    if (code == 0) {
        messageBox(platform, "Unable to create a DXF file.", "WARNING", BoxIcon::Exclamation, BoxButtons::Ok);
        return true;
    }
    if (code != extcode::kDxf) {
        messageBox(platform, "The file name must have a \".dfx\" extension.", "WARNING", BoxIcon::Exclamation,
                   BoxButtons::Ok);
        return true;
    }
    if (!session.allows(kActionCopyExport, level)) return true;
    CellRec* cell = session.cells().findCell(row, col, level, err);
    if (err.failed()) return err.trace(kOriginDxfExport), false;
    if (cell == nullptr) return err.fail(kOriginDxfExport, 1, Msg::EmptyCell);
    Drawing drawing;
    if (!drawingOfView(session.formulas().evaluator(), session.cells(), *cell, drawing, err)) {
        return err.trace(kOriginDxfExport), false;
    }
    const std::string file = joinPath(where.directory, storedName(where.name));
    if (!exportDxfFile(drawing, file, kDxfLayer, err)) {
        return err.trace(kOriginDxfExport), false;
    }
    return true;
}

}  // namespace qx
