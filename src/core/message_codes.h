#pragma once
// Every message table as one list per table: enumerator, code, text. The enumerations below and
// the tables in messages.cpp are both generated from these lists, so a code and its text cannot
// drift apart. Codes are stored in reports and shown in headers: never renumber an entry.
#include <cstdint>
#include <type_traits>

// clang-format off
#define QX_GENERAL_MESSAGES(X) \
    X(Unlisted, 0, "unlisted error") \
    X(OutOfMemory, 1, "out of memory") \
    X(CircularReference, 2, "circular reference") \
    X(DividingByZero, 3, "dividing by zero") \
    X(UnableToCompute, 4, "unable to compute expression") \
    X(UnableToFreeMemory, 5, "unable to free memory") \
    X(RowOutOfRange, 6, "ROW is out-of-range") \
    X(ColumnOutOfRange, 7, "COLUMN is out-of-range") \
    X(LevelOutOfRange, 8, "worksheet LEVEL is out-of-range") \
    X(ElementOutOfRange, 9, "Array element is out-of-range") \
    X(ExpressionTooLong, 10, "expression is to long") \
    X(EmptyCell, 11, "accessing an empty cell") \
    X(CellMustExist, 12, "cell must exist") \
    X(CellsReferenced, 13, "can not remove cell(s) referenced by other cells") \
    X(UndefinedFunction, 14, "undefined function or script") \
    X(SyntaxError, 15, "syntax error") \
    X(CellUnavailable, 16, "cell is unavailable (possibly overlapped)") \
    X(MissingBracket, 17, "missing bracket") \
    X(IllegalOperator, 18, "Illegal operator") \
    X(IncompatibleCellType, 19, "referencing an incompatible cell type") \
    X(UndefinedCellOrBadValue, 20, "referencing an undefined cell or a bad value") \
    X(MissingParenthesis, 21, "missing '('") \
    X(MissingBrace, 22, "missing '{'") \
    X(MissingSemicolon, 23, "missing semicolon") \
    X(MissingConditional, 24, "missing '?' ':' or ';' in conditional expression") \
    X(AssignmentError, 25, "assignment error") \
    X(CannotCreateArrayArea, 26, "unable to create Array Area") \
    X(MissingCurlyBrace, 27, "missing curly brace {} in Range Operation") \
    X(MissingCaret, 28, "missing '^' in Range Operation") \
    X(WrongParameters, 29, "wrong number or type of parameters") \
    X(IllegalCellAddress, 30, "Illegal Cell Address") \
    X(IllegalDelimiter, 31, "Illegal delimiter or wrong number of parameters") \
    X(DuplicateLevelName, 32, "duplicate worksheet name") \
    X(FileNotInDirectory, 33, "unable to locate file in current working directory") \
    X(CannotCreateCell, 34, "unable to create cell") \
    X(MustBeFormula, 35, "must be a FORMULA cell") \
    X(OutOfRange, 36, "out of range") \
    X(ParameterOutOfRange, 37, "A parameter is out-of-range.") \
    X(IllegalParameterList, 38, "script or function has an illegal parameter list: ()") \
    X(IllegalFileType, 39, "Illegal or unsupported file type") \
    X(ProtectedCell, 40, "Attempting to edit or delete a protected cell") \
    X(MissingColumn, 41, "missing COLUMN number in cell address") \
    X(IllegalRangeCorner, 42, "the lower right hand corner of this range is illegal") \
    X(CannotSaveWorksheet, 43, "unable to save worksheet") \
    X(TooManyNestedRecalculations, 44, "Cannot exceed more than 1024 NESTED CELL RECALCULATIONS in a single calculation.") \
    X(CellsNotRecalculated, 45, "some cells may not have been recalculated") \
    X(AtFunctionInExpression, 46, "'@' functions can not be included within an expression") \
    X(TooFewCoordinates, 47, "insufficient number of coordinates") \
    X(IncompatibleMatrixSizes, 48, "incompatible matrix size(s)") \
    X(CoordinatesMatrixFirst, 49, "the matrix containing coordinates must be listed first") \
    X(IllegalCharacter, 50, "illegal character found in expression") \
    X(CannotLoadLibrary, 51, "unable to load script library") \
    X(ScriptIndexExhausted, 52, "Script Index is exhausted") \
    X(SwapAreaExhausted, 53, "script Swap Area is exhausted") \
    X(ElseWithoutIf, 54, "'else' with no 'if'") \
    X(BadParameterValue, 55, "function's parameter list contains a bad value") \
    X(StatementError, 56, "error evaluating a statement") \
    X(ConditionError, 57, "error evaluating a conditional expression") \
    X(ToolkitInExpression, 58, "a toolkit function or keyword was used in the cell's expression") \
    X(IoError, 59, "I/O error") \
    X(CannotOpenFile, 60, "unable to open file") \
    X(ModifyIllegalString, 61, "attempting to modify an illegal character string") \
    X(StringConstantBetweenScripts, 62, "passing a string constant between scripts") \
    X(IllegalStringConstant, 63, "illegal string constant") \
    X(IllegalString, 64, "undefined or illegal string") \
    X(TooManyScriptParameters, 65, "script contains too many parameters") \
    X(ZElementIn2D, 66, "attemping to load the Z element in a 2D coordinate") \
    X(DuplicateStation, 67, "found 2 @Station() functions referencing the same station") \
    X(ChangeOfGradeSameStation, 68, "two change-of-grade functions reference back to same station") \
    X(IllegalStation, 69, "illegal station used in parameter list") \
    X(TooFewProfiles, 70, "@Xsection() calls must contain at least 2 profiles") \
    X(CorruptedDirectAddress, 71, "corrupted direct cell address") \
    X(CannotClearLevel, 72, "unable to clear worksheet") \
    X(CannotLoadFile, 73, "unable to load file") \
    X(ScreenNotLocked, 74, "screen was not locked!") \
    X(NullCellAddress, 75, "attempting to use a NULL cell address") \
    X(IllegalIncrement, 76, "illegal application of ++ or -- operator") \
    X(NoActiveLevel, 77, "no active worksheet") \
    X(IllegalParameter, 78, "Illegal parameter") \
    X(PasteRangeMismatch, 79, "The CUT/COPY range must be equal to (or a multiple of) the PASTE range.") \
    X(PasteOverCell, 80, "Attempting to PASTE a cell over an existing cell.") \
    X(MoveAcrossLevels, 81, "Attempting to move cell(s) to another level that either reference or affect other cell(s). (try COPY)") \
    X(ObjectNotSetUp, 82, "Referencing a Table or Matrix object that is not setup properly.") \
    X(IllegalCellType, 83, "Working with an illegal cell type.") \
    X(IllegalReference, 84, "Illegal reference.") \
    X(NoObject, 85, "The highlighted cell does not contain an object.") \
    X(TargetNotEmpty, 86, "Unable to complete operation. Target cell(s) must be empty.") \
    X(WillNotFit, 87, "Unable to complete operation. The object will not fit in available space.") \
    X(CannotInterpret, 88, "Unable to interpret the selected cells as requested.") \
    X(NotNullForm, 89, "Only objects that have a NULL form are supported by this operation.") \
    X(IncompleteObject, 90, "Incomplete object") \
    X(NotNullTable, 91, "Function must referennce a NULL Table.") \
    X(PasteAreaUndefined, 92, "Attempting to paste cells to an area that is improperly defined.") \
    X(ExistingCellsKept, 93, "Existing cell(s) were encountered. Please note, these cell(s) were not overwritten.") \
    X(DeviceError, 94, "Device error") \
    X(ExceedsInfinity, 95, "The computed value exceeds +/- infinity") \
    X(AddressOutOfRange, 96, "Cell Address is Out-Of-Range.") \
    X(NotNative, 97, "The file must contain a native Worksheet or Workbook.") \
    X(FileMissingOrEmpty, 98, "The file doesn't exist or is empty (0 bytes)") \
    X(LevelNotCleared, 99, "Worksheet LEVEL has not been cleared") \
    X(WorkbookNotCleared, 100, "Workbook has not been cleared") \
    X(ScriptProtectedOperation, 101, "A 'script' attempted execute a password protected operation or function.") \
    X(ScriptUnlistedError, 102, "An unlisted error was reported wihile running a script.") \
    X(ScriptNestingTooDeep, 103, "script or function calls or blocks are nested too deeply") \
    X(ScriptInterrupted, 104, "script was interrupted by the user")

#define QX_W_MESSAGES(X) \
    X(Unlisted, 0, "unlisted error") \
    X(NullPointer, 1, "Access violation - NULL POINTER") \
    X(AllocationError, 2, "Memory allocation error") \
    X(InvalidPrinterName, 3, "Invalid printer name") \
    X(CannotOpenPrinter, 4, "Unable to open printer") \
    X(CannotAccessPrinter, 5, "Unable to access printer") \
    X(CannotSetPrinter, 6, "Unable to set printer") \
    X(NotNullTable, 7, "The cell must contain a NULL table object.") \
    X(TableNotSetUp, 8, "The table object is not setup correctly.") \
    X(TableTooLarge, 9, "The size of the table makes it impossible to complete this operation.") \
    X(CannotComplete, 10, "Unable to complete this operation.")

#define QX_L05_MESSAGES(X) \
    X(Unlisted, 0, "unlisted error") \
    X(IllegalAngleMode, 1, "illegal angle mode") \
    X(TrigError, 2, "error performing trig function") \
    X(InputOutOfRange, 3, "input parameter is out-of-range") \
    X(AngleOutOfRange, 4, "angle is out-of-range") \
    X(MathError, 5, "error performing math function") \
    X(LossOfSignificance, 6, "loss of significance") \
    X(Overflow, 7, "overflow") \
    X(Underflow, 8, "underflow")

#define QX_L06_MESSAGES(X) \
    X(Unlisted, 0, "unlisted error") \
    X(IllegalAngleType, 1, "illegal angle type") \
    X(IllegalQuadrant, 2, "illegal quadrant") \
    X(AngleOutOfRange, 3, "angle is out-of-range") \
    X(UnsupportedOption, 4, "unsupported option") \
    X(DistanceTooShort, 5, "distance is to short to complete calculation") \
    X(IllegalMode, 6, "illegal mode") \
    X(ParallelLines, 7, "parallel lines") \
    X(ArcExceedsCircumference, 8, "arc is >= circumference") \
    X(VerticalCurveUnsolvable, 9, "Unable to compute solution to Vertical Curve") \
    X(StationOutOfRange, 10, "station along Vertical Curve is out-of-range") \
    X(EqualGrades, 11, "VC grades g1 and g2 cannot be equal")

#define QX_L07_MESSAGES(X) \
    X(CannotCompute, 0, "unable to compute matrix") \
    X(IllegalSize, 1, "matrix has an illegal number of rows or columns") \
    X(InsufficientMemory, 2, "insufficient memory allocated to compute matrix") \
    X(ZeroDiagonal, 3, "matrix contains a zero diagonal entry") \
    X(NoEchelonForm, 4, "unable to put matrix in Echelon Form") \
    X(NotSquare, 5, "must be a square matrix") \
    X(NoInverse, 6, "matrix has no inverse") \
    X(NoSolution, 7, "unable to compute solution set") \
    X(SizesDiffer, 8, "matrix A and B must be the same size") \
    X(ColumnsMustEqualRows, 9, "number of columns in matrix A must equal rows in B") \
    X(NotAugmented, 10, "must be a (m x n) matrix where n=m+1") \
    X(NotVector, 11, "must be either a row pr column matrix") \
    X(NotOneByThree, 12, "must be a (1 x 3) matrix")

#define QX_S_MESSAGES(X) \
    X(Unlisted, 0, "Unlisted error") \
    X(InsufficientMemory, 1, "Insufficient memory") \
    X(DivideByZero, 2, "Divide by zero") \
    X(CoefficientOutOfRange, 3, "The coefficient (probability) argument is out-of-range") \
    X(SampleSizeOutOfRange, 4, "Sample size is out-of-range") \
    X(ArgumentOutOfRange, 5, "An argument is out-of-range") \
    X(TableNotSetUp, 6, "Table object's array is not setup correctly") \
    X(SampleTooSmall, 7, "Sample size is too small") \
    X(DfOutOfRange, 8, "The (df) argument is out-of-range") \
    X(TailOutOfRange, 9, "The (tail) argument is out-of-range") \
    X(TStatisticOutOfRange, 10, "The (tStatistic) argument is too large or too small") \
    X(CriticalValueOutOfRange, 11, "the (criticalvalue) argument is out-of-range") \
    X(ProbabilityOutOfRange, 12, "The (probability) argument is out-of-range") \
    X(ZScoreOutOfRange, 13, "The (z_score) argument is out-of-range") \
    X(DomainError, 14, "Domain error") \
    X(OverflowError, 15, "Overflow error") \
    X(UnderflowError, 16, "Underflow error")

// clang-format on

namespace qx {

#define QX_MESSAGE_ENUMERATOR(name, code, text) name = code,

// The general table: letters 'A', 'C' and 'F'.
enum class Msg : int32_t { QX_GENERAL_MESSAGES(QX_MESSAGE_ENUMERATOR) };
// Letter 'W': memory, printing, table objects.
enum class WMsg : int32_t { QX_W_MESSAGES(QX_MESSAGE_ENUMERATOR) };
// Library 5: mathematics and trigonometry.
enum class L05 : int32_t { QX_L05_MESSAGES(QX_MESSAGE_ENUMERATOR) };
// Library 6: coordinate geometry and road layout.
enum class L06 : int32_t { QX_L06_MESSAGES(QX_MESSAGE_ENUMERATOR) };
// Library 7: matrix algebra.
enum class L07 : int32_t { QX_L07_MESSAGES(QX_MESSAGE_ENUMERATOR) };
// Letter 'S': statistics.
enum class SMsg : int32_t { QX_S_MESSAGES(QX_MESSAGE_ENUMERATOR) };

#undef QX_MESSAGE_ENUMERATOR

template <typename T>
concept MessageCode = std::is_same_v<T, Msg> || std::is_same_v<T, WMsg> || std::is_same_v<T, L05> ||
    std::is_same_v<T, L06> || std::is_same_v<T, L07> || std::is_same_v<T, SMsg>;

// The number stored in ErrStat::code and in reports.
template <MessageCode T>
constexpr int32_t codeOf(T code) {
    return static_cast<int32_t>(code);
}

// A recorded code against an enumerator of the table the caller knows it belongs to.
template <MessageCode T>
constexpr bool operator==(int32_t code, T c) {
    return code == codeOf(c);
}

}  // namespace qx
