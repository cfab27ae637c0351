#include "core/area_ranges.h"

#include <algorithm>
#include <vector>

#include "core/range_attributes.h"

namespace qx {
namespace {

bool intersect(const CellArea& a, const CellArea& b) {
    return a.firstRow <= b.lastRow && b.firstRow <= a.lastRow && a.firstCol <= b.lastCol && b.firstCol <= a.lastCol;
}

// Up to four rectangles covering `from` without `cut`: the full-width bands above and below, then
// the parts left and right within the cut's rows.
template <class Range>
void appendOutside(const Range& from, const CellArea& cut, std::vector<Range>& out) {
    const CellArea& a = from.area;
    auto piece = [&](int firstRow, int firstCol, int lastRow, int lastCol) {
        if (firstRow > lastRow || firstCol > lastCol) return;
        Range part = from;
        part.area = CellArea{firstRow, firstCol, lastRow, lastCol};
        out.push_back(part);
    };
    const int midFirst = std::max(a.firstRow, cut.firstRow);
    const int midLast = std::min(a.lastRow, cut.lastRow);
    piece(a.firstRow, a.firstCol, cut.firstRow - 1, a.lastCol);
    piece(cut.lastRow + 1, a.firstCol, a.lastRow, a.lastCol);
    piece(midFirst, a.firstCol, midLast, cut.firstCol - 1);
    piece(midFirst, cut.lastCol + 1, midLast, a.lastCol);
}

// Replaces every range meeting the area by its parts outside it, keeping the list order.
template <class Range>
bool cutOut(std::vector<Range>& ranges, const CellArea& area) {
    if (std::none_of(ranges.begin(), ranges.end(), [&](const Range& r) { return intersect(r.area, area); })) {
        return false;
    }
    std::vector<Range> kept;
    kept.reserve(ranges.size() + 3);
    for (const Range& r : ranges) {
        if (intersect(r.area, area)) {
            appendOutside(r, area, kept);
        } else {
            kept.push_back(r);
        }
    }
    ranges = std::move(kept);
    return true;
}

}  // namespace

bool addColourRange(LevelRec& level, const CellArea& area, uint32_t colour) {
    if (!validRangeArea(area)) return false;
    // Cutting first keeps one range per place, so colouring the same block again does not pile up ranges.
    cutOut(level.colourRanges, area);
    level.colourRanges.push_back(ColourRange{area, 0, colour});
    level.changed = true;
    return true;
}

bool removeColourRanges(LevelRec& level, const CellArea& area) {
    if (!validRangeArea(area) || !cutOut(level.colourRanges, area)) return false;
    level.changed = true;
    return true;
}

bool addBorderRange(LevelRec& level, const CellArea& area, int32_t outside, int32_t inside, int32_t colour) {
    if (!validRangeArea(area)) return false;
    cutOut(level.borderRanges, area);
    level.borderRanges.push_back(BorderRange{area, 0, outside, inside, colour});
    level.changed = true;
    return true;
}

bool removeBorderRanges(LevelRec& level, const CellArea& area) {
    if (!validRangeArea(area) || !cutOut(level.borderRanges, area)) return false;
    level.changed = true;
    return true;
}

}  // namespace qx
