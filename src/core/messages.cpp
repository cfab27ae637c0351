#include "core/messages.h"

#include <algorithm>
#include <array>

namespace qx {
namespace {

constexpr std::array<std::string_view, 103> kGeneralMessages = {
    "unlisted error",                                                                                         // 0
    "out of memory",                                                                                          // 1
    "circular reference",                                                                                     // 2
    "dividing by zero",                                                                                       // 3
    "unable to compute expression",                                                                           // 4
    "unable to free memory",                                                                                  // 5
    "ROW is out-of-range",                                                                                    // 6
    "COLUMN is out-of-range",                                                                                 // 7
    "worksheet LEVEL is out-of-range",                                                                        // 8
    "Array element is out-of-range",                                                                          // 9
    "expression is to long",                                                                                  // 10
    "accessing an empty cell",                                                                                // 11
    "cell must exist",                                                                                        // 12
    "can not remove cell(s) referenced by other cells",                                                       // 13
    "undefined function or script",                                                                           // 14
    "syntax error",                                                                                           // 15
    "cell is unavailable (possibly overlapped)",                                                              // 16
    "missing bracket",                                                                                        // 17
    "Illegal operator",                                                                                       // 18
    "referencing an incompatible cell type",                                                                  // 19
    "referencing an undefined cell or a bad value",                                                           // 20
    "missing '('",                                                                                            // 21
    "missing '{'",                                                                                            // 22
    "missing semicolon",                                                                                      // 23
    "missing '?' ':' or ';' in conditional expression",                                                       // 24
    "assignment error",                                                                                       // 25
    "unable to create Array Area",                                                                            // 26
    "missing curly brace {} in Range Operation",                                                              // 27
    "missing '^' in Range Operation",                                                                         // 28
    "wrong number or type of parameters",                                                                     // 29
    "Illegal Cell Address",                                                                                   // 30
    "Illegal delimiter or wrong number of parameters",                                                        // 31
    "duplicate worksheet name",                                                                               // 32
    "unable to locate file in current working directory",                                                     // 33
    "unable to create cell",                                                                                  // 34
    "must be a FORMULA cell",                                                                                 // 35
    "out of range",                                                                                           // 36
    "A parameter is out-of-range.",                                                                           // 37
    "script or function has an illegal parameter list: ()",                                                   // 38
    "Illegal or unsupported file type",                                                                       // 39
    "Attempting to edit or delete a protected cell",                                                          // 40
    "missing COLUMN number in cell address",                                                                  // 41
    "the lower right hand corner of this range is illegal",                                                   // 42
    "unable to save worksheet",                                                                               // 43
    "Cannot exceed more than 1024 NESTED CELL RECALCULATIONS in a single calculation.",                       // 44
    "some cells may not have been recalculated",                                                              // 45
    "'@' functions can not be included within an expression",                                                 // 46
    "insufficient number of coordinates",                                                                     // 47
    "incompatible matrix size(s)",                                                                            // 48
    "the matrix containing coordinates must be listed first",                                                 // 49
    "illegal character found in expression",                                                                  // 50
    "unable to load script library",                                                                          // 51
    "Script Index is exhausted",                                                                              // 52
    "script Swap Area is exhausted",                                                                          // 53
    "'else' with no 'if'",                                                                                    // 54
    "function's parameter list contains a bad value",                                                         // 55
    "error evaluating a statement",                                                                           // 56
    "error evaluating a conditional expression",                                                              // 57
    "a toolkit function or keyword was used in the cell's expression",                                        // 58
    "I/O error",                                                                                              // 59
    "unable to open file",                                                                                    // 60
    "attempting to modify an illegal character string",                                                       // 61
    "passing a string constant between scripts",                                                              // 62
    "illegal string constant",                                                                                // 63
    "undefined or illegal string",                                                                            // 64
    "script contains too many parameters",                                                                    // 65
    "attemping to load the Z element in a 2D coordinate",                                                     // 66
    "found 2 @Station() functions referencing the same station",                                              // 67
    "two change-of-grade functions reference back to same station",                                           // 68
    "illegal station used in parameter list",                                                                 // 69
    "@Xsection() calls must contain at least 2 profiles",                                                     // 70
    "corrupted direct cell address",                                                                          // 71
    "unable to clear worksheet",                                                                              // 72
    "unable to load file",                                                                                    // 73
    "screen was not locked!",                                                                                 // 74
    "attempting to use a NULL cell address",                                                                  // 75
    "illegal application of ++ or -- operator",                                                               // 76
    "no active worksheet",                                                                                    // 77
    "Illegal parameter",                                                                                      // 78
    "The CUT/COPY range must be equal to (or a multiple of) the PASTE range.",                                // 79
    "Attempting to PASTE a cell over an existing cell.",                                                      // 80
    "Attempting to move cell(s) to another level that either reference or affect other cell(s). (try COPY)",  // 81
    "Referencing a Table or Matrix object that is not setup properly.",                                       // 82
    "Working with an illegal cell type.",                                                                     // 83
    "Illegal reference.",                                                                                     // 84
    "The highlighted cell does not contain an object.",                                                       // 85
    "Unable to complete operation. Target cell(s) must be empty.",                                            // 86
    "Unable to complete operation. The object will not fit in available space.",                              // 87
    "Unable to interpret the selected cells as requested.",                                                   // 88
    "Only objects that have a NULL form are supported by this operation.",                                    // 89
    "Incomplete object",                                                                                      // 90
    "Function must referennce a NULL Table.",                                                                 // 91
    "Attempting to paste cells to an area that is improperly defined.",                                       // 92
    "Existing cell(s) were encountered. Please note, these cell(s) were not overwritten.",                    // 93
    "Device error",                                                                                           // 94
    "The computed value exceeds +/- infinity",                                                                // 95
    "Cell Address is Out-Of-Range.",                                                                          // 96
    "The file must contain a native Worksheet or Workbook.",                                                  // 97
    "The file doesn't exist or is empty (0 bytes)",                                                           // 98
    "Worksheet LEVEL has not been cleared",                                                                   // 99
    "Workbook has not been cleared",                                                                          // 100
    "A 'script' attempted execute a password protected operation or function.",                               // 101
    "An unlisted error was reported wihile running a script.",                                                // 102
};

constexpr std::array<std::string_view, 11> kWMessages = {
    "unlisted error",                                                         // 0
    "Access violation - NULL POINTER",                                        // 1
    "Memory allocation error",                                                // 2
    "Invalid printer name",                                                   // 3
    "Unable to open printer",                                                 // 4
    "Unable to access printer",                                               // 5
    "Unable to set printer",                                                  // 6
    "The cell must contain a NULL table object.",                             // 7
    "The table object is not setup correctly.",                               // 8
    "The size of the table makes it impossible to complete this operation.",  // 9
    "Unable to complete this operation.",                                     // 10
};

constexpr std::array<std::string_view, 9> kMathMessages = {
    "unlisted error",                   // 0
    "illegal angle mode",               // 1
    "error performing trig function",   // 2
    "input parameter is out-of-range",  // 3
    "angle is out-of-range",            // 4
    "error performing math function",   // 5
    "loss of significance",             // 6
    "overflow",                         // 7
    "underflow",                        // 8
};

constexpr std::array<std::string_view, 12> kGeometryMessages = {
    "unlisted error",                                // 0
    "illegal angle type",                            // 1
    "illegal quadrant",                              // 2
    "angle is out-of-range",                         // 3
    "unsupported option",                            // 4
    "distance is to short to complete calculation",  // 5
    "illegal mode",                                  // 6
    "parallel lines",                                // 7
    "arc is >= circumference",                       // 8
    "Unable to compute solution to Vertical Curve",  // 9
    "station along Vertical Curve is out-of-range",  // 10
    "VC grades g1 and g2 cannot be equal",           // 11
};

constexpr std::array<std::string_view, 13> kMatrixMessages = {
    "unable to compute matrix",                            // 0
    "matrix has an illegal number of rows or columns",     // 1
    "insufficient memory allocated to compute matrix",     // 2
    "matrix contains a zero diagonal entry",               // 3
    "unable to put matrix in Echelon Form",                // 4
    "must be a square matrix",                             // 5
    "matrix has no inverse",                               // 6
    "unable to compute solution set",                      // 7
    "matrix A and B must be the same size",                // 8
    "number of columns in matrix A must equal rows in B",  // 9
    "must be a (m x n) matrix where n=m+1",                // 10
    "must be either a row pr column matrix",               // 11
    "must be a (1 x 3) matrix",                            // 12
};

constexpr std::array<std::string_view, 17> kStatisticsMessages = {
    "Unlisted error",                                          // 0
    "Insufficient memory",                                     // 1
    "Divide by zero",                                          // 2
    "The coefficient (probability) argument is out-of-range",  // 3
    "Sample size is out-of-range",                             // 4
    "An argument is out-of-range",                             // 5
    "Table object's array is not setup correctly",             // 6
    "Sample size is too small",                                // 7
    "The (df) argument is out-of-range",                       // 8
    "The (tail) argument is out-of-range",                     // 9
    "The (tStatistic) argument is too large or too small",     // 10
    "the (criticalvalue) argument is out-of-range",            // 11
    "The (probability) argument is out-of-range",              // 12
    "The (z_score) argument is out-of-range",                  // 13
    "Domain error",                                            // 14
    "Overflow error",                                          // 15
    "Underflow error",                                         // 16
};

static_assert(kGeneralMessages.size() == kGeneralMessageCount);
static_assert(kWMessages.size() == kWMessageCount);
static_assert(kMatrixMessages.size() == kMatrixMessageCount);
static_assert(kGeometryMessages.size() == kGeometryMessageCount);

constexpr std::size_t longestOf(std::span<const std::string_view> table) {
    std::size_t longest = 0;
    for (auto text : table) longest = std::max(longest, text.size());
    return longest;
}

constexpr std::size_t kLongestGeneral = longestOf(kGeneralMessages);

}  // namespace

std::span<const std::string_view> messageTable(MessageTable table) {
    switch (table) {
        case MessageTable::General:
            return kGeneralMessages;
        case MessageTable::W:
            return kWMessages;
        case MessageTable::Math:
            return kMathMessages;
        case MessageTable::Geometry:
            return kGeometryMessages;
        case MessageTable::Matrix:
            return kMatrixMessages;
        case MessageTable::Statistics:
            break;
    }
    return kStatisticsMessages;
}

std::string_view tableMessage(MessageTable table, int32_t code) {
    auto entries = messageTable(table);
    if (code < 0 || static_cast<std::size_t>(code) >= entries.size()) return entries[0];
    return entries[static_cast<std::size_t>(code)];
}

std::size_t longestGeneralMessage() {
    return kLongestGeneral;
}

}  // namespace qx
