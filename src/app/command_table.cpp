#include "app/command_table.h"

#include <algorithm>
#include <array>

#include "app/attribute_commands.h"
#include "app/document_commands.h"
#include "app/edit_commands.h"
#include "app/file_commands.h"
#include "app/layout_commands.h"
#include "app/object_commands.h"
#include "app/recalc_commands.h"
#include "app/transfer_commands.h"
#include "protect/protection.h"

namespace qx {
namespace {

CommandOutcome notAvailable(Session&, ErrStat&) {
    return CommandOutcome::NotAvailable;
}

// Ids below 1000 and the 4000s are the numbers the menus and the built-in button bars send.
// Commands that no built-in bar names take ids from 9000 up.
constexpr std::array kCommands = std::to_array<Command>({
    // File menu
    {9013, "Open", "Open ...", openCommand},
    {9010, "Save", "Save", saveCommand},
    {9014, "SaveAsWb", "Save Workbook As ...", saveAsWorkbookCommand},
    {9015, "SaveAsWs", "Save Worksheet As ...", saveAsWorksheetCommand},
    {9016, "RenBook", "Rename Workbook ...", renameWorkbookCommand},
    {9017, "RenSheet", "Rename Worksheet ...", renameWorksheetCommand},
    {9018, "Import", "Import file ...", importCommand},
    {9019, "Export", "Export file ...", exportCommand},  // asks for its action itself
    {9011, "ClrBook", "Clear workbook", clearWorkbookCommand},
    {9012, "ClrSheet", "Clear worksheet", clearWorksheetCommand},
    // Edit menu and the "Edit mode" bar
    {540, "Undo", "Undo delete", undoDeleteCommand, kActionEdit},
    {541, "Copy", "Copy", copyCommand, kActionCopyExport},
    {542, "Cut", "Cut", cutCommand},                         // asks for two actions itself
    {543, "Replace", "Find (Replace) ...", replaceCommand},  // asks for its action itself
    {544, "Paste", "Paste", pasteCommand},                   // asks for two actions itself
    // The insert commands and the edit-bar buttons act on the entry being typed: only the desktop
    // program has one, and serves them itself.
    {545, "Label", "Insert a label", notAvailable},
    {546, "Address", "Insert a cell address", notAvailable},
    {547, "Function", "Insert a function", notAvailable},
    {548, "( [ ] )", "Insert brackets", notAvailable},
    {9001, "Delete", "Delete", deleteCommand, kActionEdit},
    {9030, "SortRows", "Sort rows ...", sortRowsCommand},  // asks for its action itself
    {9031, "FindNext", "Find Next", findNextCommand},
    {9034, "Join", "Join", joinCommand, kActionLayout},
    {9035, "SumCells", "Sum cells", sumCellsCommand},
    {9036, "Lbl2Frm", "Labels to Formulas", labelsToFormulasCommand, kActionEdit},
    {9037, "Frm2Lbl", "Formulas to Labels", formulasToLabelsCommand, kActionEdit},
    // Cell Array Area menu: their values come from dialogs (quorix-cli: arrsize, arrset)
    {9032, "ArrSize", "Array Areas (create or remove) ...", notAvailable},
    {9033, "ArrSet", "Set array elements ...", notAvailable},
    // Row, Column and Shift submenus
    {9020, "RowIns", "Insert", rowInsertCommand},
    {9021, "RowDel", "Delete", rowDeleteCommand},
    {9022, "ColIns", "Insert", colInsertCommand},
    {9023, "ColDel", "Delete", colDeleteCommand},
    {9024, "ShiftLt", "Left", shiftLeftCommand},
    {9025, "ShiftRt", "Right", shiftRightCommand},
    {9026, "ShiftUp", "Up", shiftUpCommand},
    {9027, "ShiftDn", "Down", shiftDownCommand},
    // Edit-bar buttons (served by the desktop program, as above)
    {590, "List", "List", notAvailable},
    {591, "View", "View", notAvailable},
    {592, "Esc", "Cancel the entry", notAvailable},
    {593, "Rtn", "Enter the entry", notAvailable},
    // Cell attributes and the "Standard mode" bar
    // Each asks for its action itself; "+BkColor" takes its colour from a dialog (quorix-cli: bkcolor).
    {4010, "Hide", "Hide cells", hideCommand},
    {4011, "Unhide", "Unhide cells", unhideCommand},
    {4012, "Protect", "Protect cells", protectCommand},
    {4013, "UnProt", "Unprotect cells", unprotectCommand},
    {4252, "+Border", "Add border", addBorderCommand},
    {4255, "+BkColor", "Add background colour", notAvailable},
    {4256, "-BkColor", "Remove background colour", removeBackgroundCommand},
    {4257, "-Border", "Remove border", removeBorderCommand},
    {9038, "AttrShow", "Attribute settings", attributeSettingsCommand, kActionAttributes},
    // Recalculation
    {4307, "Recalc", "Selected cell(s)", selectedCellsCommand},
    {9002, "calcAll", "All cells", allCellsCommand},
    {9003, "nrmCalc", "Normal", normalCalcCommand, kActionAttributes},
    {9004, "frcCalc", "Forced", forcedCalcCommand, kActionAttributes},
    {9005, "prvCalc", "Prevent", preventCalcCommand, kActionAttributes},
    // Debug menu
    {9006, "Affected", "Find cells that use this cell", showAffectedCommand},
    {9007, "Used", "Find cells that this cell uses", showUsedCommand},
    // Table manipulation and the "Table options" bar
    {4314, "Invert", "Invert", invertCommand, kActionEdit},
    {4315, "Sort", "Sort", sortCommand, kActionEdit},
    {4316, "RmvRow", "Remove row", removeRowCommand, kActionEdit},
    {4317, "RmvCol", "Remove column", removeColumnCommand, kActionEdit},
    {4318, "SwapCol", "Swap columns", swapColumnsCommand, kActionEdit},
    {4319, "SetValue", "Set value", setValueCommand, kActionEdit},
    {4404, "Capture", "Capture an existing CELL OBJECT", captureCommand, kActionCopyExport},
    {4418, "Place", "Place (captured object) in an EMPTY CELL", placeCommand, kActionAddCells},
    {9040, "CapTable", "Capture a TABLE from selected cells", captureTableCommand, kActionCopyExport},
    {9041, "CapMatrx", "Capture a MATRIX from selected cells", captureMatrixCommand, kActionCopyExport},
    {9042, "CapXYZ", "Capture COORDINATES from selected cells", captureXYZCommand, kActionCopyExport},
    {9043, "CapSegmt", "Capture a SEGMENT from selected cells", captureSegmentCommand, kActionCopyExport},
    {9044, "CapPolyg", "Capture a POLYGON from selected cells", capturePolygonCommand, kActionCopyExport},
    {9045, "PlaceWks", "Place (captured object) on the WORKSHEET", placeSheetCommand, kActionAddCells},
});

}  // namespace

CommandTable CommandTable::standard() {
    return CommandTable(kCommands);
}

const Command* CommandTable::findById(int id) const {
    auto it = std::find_if(m_commands.begin(), m_commands.end(), [id](const Command& c) { return c.id == id; });
    return it == m_commands.end() ? nullptr : &*it;
}

const Command* CommandTable::findByName(std::string_view name) const {
    auto it = std::find_if(m_commands.begin(), m_commands.end(), [name](const Command& c) { return c.name == name; });
    return it == m_commands.end() ? nullptr : &*it;
}

}  // namespace qx
