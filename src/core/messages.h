#pragma once
// Every message table of the error reports, and the fixed texts of the reporting path.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace qx {

enum class MessageTable {
    General,     // letters 'A', 'C', 'F'
    W,           // memory, printing, table objects
    Math,        // library 5: mathematics and trigonometry
    Geometry,    // library 6: coordinate geometry and road layout
    Matrix,      // library 7: matrix algebra
    Statistics,  // letter 'S'
};

std::span<const std::string_view> messageTable(MessageTable table);

// The entry for `code`, or entry 0 when the code is outside the table.
std::string_view tableMessage(MessageTable table, int32_t code);

// Length of the longest general message; a buffer needs one byte more.
std::size_t longestGeneralMessage();

// Codes of the coordinate geometry and road layout table (library 6).
enum class GeometryMessage : int32_t {
    UnlistedError = 0,
    IllegalAngleType = 1,
    IllegalQuadrant = 2,
    AngleOutOfRange = 3,
    UnsupportedOption = 4,
    DistanceTooShort = 5,
    IllegalMode = 6,
    ParallelLines = 7,
    ArcTooLong = 8,
    VerticalCurveUnsolvable = 9,
    StationOffVerticalCurve = 10,
    EqualGrades = 11,
};
inline constexpr int32_t kGeometryMessageCount = 12;

inline constexpr int32_t kGeneralMessageCount = 103;
inline constexpr int32_t kWMessageCount = 11;
inline constexpr int32_t kCodeIllegalFileType = 39;
inline constexpr int32_t kCodeIoError = 59;
inline constexpr int32_t kCodeIllegalString = 64;

// Codes of the matrix table.
enum class MatrixMessage : int32_t {
    UnableToCompute = 0,
    IllegalSize = 1,
    InsufficientRoom = 2,
    ZeroDiagonal = 3,
    NoEchelonForm = 4,
    NotSquare = 5,
    NoInverse = 6,
    NoSolution = 7,
    SizesDiffer = 8,
    ColumnsNotRows = 9,
    NotAugmented = 10,
    NotRowOrColumn = 11,
    NotOneByThree = 12,
};
inline constexpr int32_t kMatrixMessageCount = 13;

inline constexpr std::string_view kUnknownError = "unknown error";
inline constexpr std::string_view kUnsupportedLibraryError = "unsupported library error";
inline constexpr std::string_view kConfirmCaption = "Are you sure you want to continue?";
inline constexpr std::string_view kScriptWarningCaption = "WARNING: Script error detected";

}  // namespace qx
