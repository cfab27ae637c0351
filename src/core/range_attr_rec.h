#pragma once
// One range attribute record: attribute values that override a level's defaults over a rectangle.
#include <cstdint>

namespace qx {

struct RangeAttrRec {
    uint16_t kind = 0;
    uint16_t firstRow = 0;
    uint16_t firstCol = 0;
    uint16_t lastRow = 0;
    uint16_t lastCol = 0;
    uint16_t overlappedByLater = 0;  // a newer record intersects or touches this one
    uint16_t overlapsEarlier = 0;    // this record intersects or touches an older one
    uint32_t style = 0;
    uint32_t formulaFlags = 0;
    uint16_t cellFlags = 0;
    int32_t precision = 0;

    bool contains(int row, int col) const {
        return row >= firstRow && row <= lastRow && col >= firstCol && col <= lastCol;
    }
};

}  // namespace qx
