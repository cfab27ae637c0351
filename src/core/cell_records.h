#pragma once
// The stored form of a workbook: levels, their row lists of cells, and each formula's companion record.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <vector>

#include "core/range_attr_rec.h"
#include "core/zeroed_slots.h"

namespace qx {

constexpr int kMaxRow = 65534;
constexpr int kMaxCol = 255;
constexpr int kMaxLevelCount = 33;  // levels 0..32; level 0 is scratch space
constexpr int kMaxArrayElements = 8191;
constexpr int kMaxTextLength = 255;
constexpr int kMaxReferences = 63;  // the direct-address reader's limit

enum class CellType : uint8_t { Formula = 0, Label = 1, VariableLabel = 2, Undefined = 3 };

// What level 0's record, the clipboard, holds.
enum class ClipMode : uint8_t { Empty = 0, Copy = 1, Cut = 2 };

// Cell flags word (16-bit).
namespace cellflag {
constexpr uint16_t kTypeMask = 0x0003;
constexpr uint16_t kOverlapMask = 0x00FC;  // "Cells Overlapped" 0..63, bits 2..7
constexpr uint16_t kHideDisplay = 0x0100;
constexpr uint16_t kProtectCell = 0x0200;
constexpr uint16_t kRangeDef = 0x0400;
constexpr uint16_t kForceRecalc = 0x0800;
constexpr uint16_t kRecalcPending = 0x1000;
constexpr uint16_t kForceDisplay = 0x2000;
constexpr uint16_t kPreventRecalc = 0x4000;
constexpr uint16_t kOnPath = 0x8000;
}  // namespace cellflag

// Formula flags word (32-bit); the display fields are laid out with the attributes.
namespace formulaflag {
constexpr uint32_t kErrorMark = 0x80000000u;
constexpr uint32_t kVisited = 0x40000000u;
}  // namespace formulaflag

struct TableDescriptor;

// An object owned by a formula cell: an opaque block whose layout the object families define,
// and a table's descriptor.
struct ObjectRec {
    std::size_t size = 0;  // bytes in data
    unsigned char* data = nullptr;
    TableDescriptor* table = nullptr;
};

struct CellRec;
struct DependentList;  // the reverse index entry of a referenced cell, kept by the cell store

// The two 32-bit fields sit together so the record packs into 48 bytes.
struct FormulaRec {
    ObjectRec* object = nullptr;
    char* tag = nullptr;      // a Formula's tag; a Variable Label's formula text
    double* array = nullptr;  // element 0 holds the count; null: no Array Area (zero elements)
    double value = 0.0;
    CellRec** refs = nullptr;
    uint32_t flags = 0;
    uint32_t refCount = 0;

    bool errorMark() const { return (flags & formulaflag::kErrorMark) != 0; }
    void setErrorMark(bool on) { flags = on ? (flags | formulaflag::kErrorMark) : (flags & ~formulaflag::kErrorMark); }
    uint32_t arrayCount() const { return array != nullptr ? static_cast<uint32_t>(array[0]) : 0u; }
};

struct CellRec {
    // Formulas whose reference lists hold this cell. Kept 32-bit: a 15-bit count wraps.
    uint32_t dependents = 0;
    // The mark that the design kept in the count's top bit: a Label's recalc-pending,
    // and set on placeholders made by make-cell.
    bool dependentsMark = false;
    uint16_t flags = 0;
    uint32_t style = 0;
    uint16_t row = 0;
    uint8_t col = 0;
    uint8_t level = 0;
    char* text = nullptr;  // NUL-terminated, in the level heap, or null
    CellRec* next = nullptr;
    FormulaRec* formula = nullptr;
    // The formula cells whose reference lists hold this cell, one entry per reference; null when none.
    DependentList* dependentsIndex = nullptr;

    CellType type() const { return static_cast<CellType>(flags & cellflag::kTypeMask); }
    void setType(CellType t) {
        flags = static_cast<uint16_t>((flags & ~cellflag::kTypeMask) | static_cast<uint16_t>(t));
    }
    bool isFormula() const { return type() == CellType::Formula; }
    bool isLabel() const { return type() == CellType::Label; }
    bool isVariableLabel() const { return type() == CellType::VariableLabel; }
    bool isPlaceholder() const { return type() == CellType::Undefined; }
    bool isLabelLike() const { return isLabel() || isVariableLabel(); }
    // A Formula or Variable Label holding its formula record: what recalculation evaluates.
    bool formulaLike() const { return (isFormula() || isVariableLabel()) && formula != nullptr; }
    int overlapped() const { return (flags & cellflag::kOverlapMask) >> 2; }
    void setOverlapped(int n) { flags = static_cast<uint16_t>((flags & ~cellflag::kOverlapMask) | ((n & 0x3F) << 2)); }
    bool has(uint16_t flag) const { return (flags & flag) != 0; }
    void set(uint16_t flag, bool on = true) { flags = static_cast<uint16_t>(on ? (flags | flag) : (flags & ~flag)); }
    std::string_view textView() const { return text ? std::string_view(text) : std::string_view(); }
};

// A rectangle of cells; all zero means "none".
struct CellArea {
    int firstRow = 0;
    int firstCol = 0;
    int lastRow = 0;
    int lastCol = 0;
    bool active() const { return firstRow && firstCol && lastRow && lastCol; }
    bool contains(int r, int c) const {
        return active() && r >= firstRow && r <= lastRow && c >= firstCol && c <= lastCol;
    }
    void clear() { *this = CellArea{}; }
};

// Default attributes of a level (copied from the workbook defaults).
struct LevelDefaults {
    uint8_t gridLines = 1;
    uint8_t gridColour = 8;
    uint16_t columnWidth = 80;
    uint16_t rowHeight = 17;
    uint32_t background = 0xFFFFFF;
    uint8_t displayByte = 0;
    uint16_t rangePasses = 1;
    uint32_t style = 0;
    uint16_t cellFlags = 0;
    uint32_t formulaFlags = 0;
    uint16_t precision = 2;
};

// A captured object's view placed on a worksheet; the two names are kept as read.
struct PlacedView {
    int32_t first = 0;
    int32_t second = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// A background-colour range and a border range of a level, kept in the order they were set.
struct ColourRange {
    CellArea area;
    int32_t relative = 0;
    uint32_t colour = 0;
};
struct BorderRange {
    CellArea area;
    int32_t relative = 0;
    int32_t outside = 0;
    int32_t inside = 0;
    int32_t colour = 0;
};

// "Changed since the last save", set by every change to a level's cells or settings. Each setting is
// counted, so the recalculator can tell that a change reached the level without a place it was told of.
class ChangeMark {
  public:
    ChangeMark& operator=(bool on) {
        m_on = on;
        if (on) ++m_settings;
        return *this;
    }
    operator bool() const { return m_on; }
    uint64_t settings() const { return m_settings; }

  private:
    bool m_on = false;
    uint64_t m_settings = 0;
};

// The places of a level whose cells changed in value, Array Area, text, type or existence since the
// recalculator last looked (see CellStore::touch).
struct TouchLog {
    static constexpr std::size_t kLimit = 256;  // beyond this the places are dropped and all counts as touched
    std::vector<uint32_t> places;               // row << 8 | column
    bool overflow = false;
    uint64_t accounted = 0;  // the ChangeMark setting up to which every setting came with a touch

    bool pending(const ChangeMark& mark) const { return overflow || !places.empty() || accounted != mark.settings(); }
};

struct LevelRec {
    int32_t number = 0;
    // Every cell, formula record, text, Array Area and object of the level; released whole on clear.
    std::unique_ptr<std::pmr::unsynchronized_pool_resource> heap;
    std::string defaultFileName;  // "wksht<N>.qx2"
    std::string directory;
    LevelDefaults defaults;
    CellRec* bottom = nullptr;                      // last cell of the highest used row, or null when empty
    ZeroedSlots<CellRec*> rows{kMaxRow + 1};        // by row; each points at its row's LAST cell
    std::vector<uint16_t> rowHeights;               // low 14 bits: height; top bit: per-row flag
    ZeroedSlots<uint16_t> rowExtra{kMaxRow + 1};    // used by the user interface
    std::array<uint16_t, kMaxCol + 1> colWidths{};  // low 15 bits: width; top bit: per-column flag
    std::vector<std::string> fontNames;
    std::vector<RangeAttrRec> rangeRecords;  // oldest first
    std::vector<ColourRange> colourRanges;
    std::vector<BorderRange> borderRanges;
    std::vector<PlacedView> views;
    CellArea pendingDelete;
    CellArea pendingPaste;
    // The level the pending paste came from; on level 0, the level the clipboard was taken from.
    int32_t pasteSource = 0;
    ClipMode clipMode = ClipMode::Empty;  // level 0 only; pendingPaste holds the source range there
    CellRec* undoNewer = nullptr;         // chains of detached cells for delete/undo/cut/paste
    CellRec* undoOlder = nullptr;
    uint32_t interfaceCounter = 0;
    ChangeMark changed;
    TouchLog touched;
    // Writes that may change what a pass reads from a column (a Formula's value or failure, a cell coming,
    // going or moving) and clears of the level; with `changed`, they date the column copies of the passes.
    std::array<uint32_t, kMaxCol + 1> columnWrites{};
    uint64_t clears = 0;
};

}  // namespace qx
