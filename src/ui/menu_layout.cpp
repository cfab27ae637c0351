#include "ui/menu_layout.h"

#include <array>

namespace qx {
namespace {

constexpr std::array kPlacements = std::to_array<MenuPlacement>({
    {MenuId::File, "", "Open"},
    {MenuId::File, "", "Save"},
    {MenuId::File, "", "SaveAsWb"},
    {MenuId::File, "", "SaveAsWs"},
    {MenuId::File, "", "-"},
    {MenuId::File, "", "Import"},
    {MenuId::File, "", "Export"},
    {MenuId::File, "", "-"},
    {MenuId::File, "", "RenBook"},
    {MenuId::File, "", "RenSheet"},
    {MenuId::File, "", "-"},
    {MenuId::File, "", "ClrBook"},
    {MenuId::File, "", "ClrSheet"},

    {MenuId::Edit, "", "Rtn"},
    {MenuId::Edit, "", "Esc"},
    {MenuId::Edit, "", "-"},
    {MenuId::Edit, "", "Undo"},
    {MenuId::Edit, "", "Cut"},
    {MenuId::Edit, "", "Copy"},
    {MenuId::Edit, "", "Paste"},
    {MenuId::Edit, "", "Delete"},
    {MenuId::Edit, "", "-"},
    {MenuId::Edit, "", "Replace"},
    {MenuId::Edit, "", "FindNext"},
    {MenuId::Edit, "", "SortRows"},
    {MenuId::Edit, "", "-"},
    {MenuId::Edit, "Insert", "Label"},
    {MenuId::Edit, "Insert", "Address"},
    {MenuId::Edit, "Insert", "Function"},
    {MenuId::Edit, "Insert", "( [ ] )"},
    {MenuId::Edit, "Row", "RowIns"},
    {MenuId::Edit, "Row", "RowDel"},
    {MenuId::Edit, "Column", "ColIns"},
    {MenuId::Edit, "Column", "ColDel"},
    {MenuId::Edit, "Shift", "ShiftLt"},
    {MenuId::Edit, "Shift", "ShiftRt"},
    {MenuId::Edit, "Shift", "ShiftUp"},
    {MenuId::Edit, "Shift", "ShiftDn"},
    {MenuId::Edit, "Shift", "-"},
    {MenuId::Edit, "Shift", "Join"},

    {MenuId::View, "", "List"},
    {MenuId::View, "", "View"},

    {MenuId::Tools, "Recalculate", "Recalc"},
    {MenuId::Tools, "Recalculate", "calcAll"},
    {MenuId::Tools, "Recalculate", "-"},
    {MenuId::Tools, "Recalculate", "nrmCalc"},
    {MenuId::Tools, "Recalculate", "frcCalc"},
    {MenuId::Tools, "Recalculate", "prvCalc"},
    {MenuId::Tools, "", "SumCells"},
    {MenuId::Tools, "Convert", "Lbl2Frm"},
    {MenuId::Tools, "Convert", "Frm2Lbl"},
    {MenuId::Tools, "Cell Array Area", "ArrSize"},
    {MenuId::Tools, "Cell Array Area", "ArrSet"},
    {MenuId::Tools, "Attributes", "Hide"},
    {MenuId::Tools, "Attributes", "Unhide"},
    {MenuId::Tools, "Attributes", "-"},
    {MenuId::Tools, "Attributes", "Protect"},
    {MenuId::Tools, "Attributes", "UnProt"},
    {MenuId::Tools, "Attributes", "-"},
    {MenuId::Tools, "Attributes", "+BkColor"},
    {MenuId::Tools, "Attributes", "-BkColor"},
    {MenuId::Tools, "Attributes", "+Border"},
    {MenuId::Tools, "Attributes", "-Border"},
    {MenuId::Tools, "Attributes", "-"},
    {MenuId::Tools, "Attributes", "AttrShow"},
    {MenuId::Tools, "Objects", "Capture"},
    {MenuId::Tools, "Objects", "CapTable"},
    {MenuId::Tools, "Objects", "CapMatrx"},
    {MenuId::Tools, "Objects", "CapXYZ"},
    {MenuId::Tools, "Objects", "CapSegmt"},
    {MenuId::Tools, "Objects", "CapPolyg"},
    {MenuId::Tools, "Objects", "-"},
    {MenuId::Tools, "Objects", "Place"},
    {MenuId::Tools, "Objects", "PlaceWks"},
    {MenuId::Tools, "Table", "Invert"},
    {MenuId::Tools, "Table", "Sort"},
    {MenuId::Tools, "Table", "SwapCol"},
    {MenuId::Tools, "Table", "RmvRow"},
    {MenuId::Tools, "Table", "RmvCol"},
    {MenuId::Tools, "Table", "SetValue"},

    {MenuId::Debug, "", "Affected"},
    {MenuId::Debug, "", "Used"},
});

constexpr std::array kShortcuts = std::to_array<CommandShortcut>({
    {"Open", "Ctrl+O"},
    {"Save", "Ctrl+S"},
    {"Copy", "Ctrl+C"},
    {"Cut", "Ctrl+X"},
    {"Paste", "Ctrl+V"},
    {"Undo", "Ctrl+Z"},
    {"Replace", "Ctrl+F"},
    {"FindNext", "F3"},
    {"calcAll", "F9"},
    {"Recalc", "Shift+F9"},
});

constexpr std::array kTips = std::to_array<CommandTip>({
    {"Replace", "Searches all labels, formulas and/or tags for a pattern"},
    {"Join", "Joins two or more adjacent label cells (within a selected area)"},
    {"SumCells", "Sum the values within the selected area"},
    {"Lbl2Frm", "Converts label cells to formula cells."},
    {"ArrSize", "Adds, or removes an Array Areas associated with the selected formula cell(s)."},
    {"ArrSet", "Sets the individual array element values applied to a particular formula cell."},
});

}  // namespace

std::span<const CommandTip> commandTips() {
    return kTips;
}

std::span<const MenuPlacement> menuPlacements() {
    return kPlacements;
}

std::span<const CommandShortcut> commandShortcuts() {
    return kShortcuts;
}

std::string_view menuTitle(MenuId menu) {
    switch (menu) {
        case MenuId::File:
            return "&File";
        case MenuId::Edit:
            return "&Edit";
        case MenuId::View:
            return "&View";
        case MenuId::Tools:
            return "&Tools";
        case MenuId::Debug:
            return "&Debug";
        case MenuId::Window:
            return "&Window";
        case MenuId::Help:
            return "&Help";
    }
    return "";
}

}  // namespace qx
