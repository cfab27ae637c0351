#include "core/range_attributes.h"

#include <algorithm>

namespace qx {

namespace {

// Intervals that share a point or are adjacent.
bool meetOrTouch(int firstA, int lastA, int firstB, int lastB) {
    return firstA <= lastB + 1 && firstB <= lastA + 1;
}

bool meetOrTouch(const RangeAttrRec& a, const RangeAttrRec& b) {
    return meetOrTouch(a.firstRow, a.lastRow, b.firstRow, b.lastRow) &&
           meetOrTouch(a.firstCol, a.lastCol, b.firstCol, b.lastCol);
}

bool inside(const RangeAttrRec& rec, const CellArea& area) {
    return rec.firstRow >= area.firstRow && rec.lastRow <= area.lastRow && rec.firstCol >= area.firstCol &&
           rec.lastCol <= area.lastCol;
}

bool repeatsDefaults(const RangeAttrRec& rec, const EffectiveAttributes& d) {
    return rec.style == d.style && rec.cellFlags == d.cellFlags && rec.formulaFlags == d.formulaFlags &&
           rec.precision == d.precision;
}

}  // namespace

EffectiveAttributes levelDefaultAttributes(const LevelRec& level) {
    const LevelDefaults& d = level.defaults;
    return EffectiveAttributes{d.style, d.cellFlags, d.formulaFlags, d.precision};
}

bool validRangeArea(const CellArea& area) {
    return area.firstRow >= 1 && area.lastRow <= kMaxRow && area.firstCol >= 1 && area.lastCol <= kMaxCol &&
           area.firstRow <= area.lastRow && area.firstCol <= area.lastCol;
}

void recomputeRangeOverlaps(LevelRec& level) {
    auto& recs = level.rangeRecords;
    for (RangeAttrRec& r : recs) r.overlappedByLater = r.overlapsEarlier = 0;
    for (std::size_t older = 0; older < recs.size(); ++older) {
        for (std::size_t newer = older + 1; newer < recs.size(); ++newer) {
            if (!meetOrTouch(recs[older], recs[newer])) continue;
            recs[older].overlappedByLater = 1;
            recs[newer].overlapsEarlier = 1;
        }
    }
}

bool addRangeAttributes(LevelRec& level, const CellArea& area, const EffectiveAttributes& values, uint16_t kind) {
    if (!validRangeArea(area)) return false;
    auto& recs = level.rangeRecords;
    std::erase_if(recs, [&](const RangeAttrRec& r) { return inside(r, area); });
    RangeAttrRec rec;
    rec.kind = kind;
    rec.firstRow = static_cast<uint16_t>(area.firstRow);
    rec.firstCol = static_cast<uint16_t>(area.firstCol);
    rec.lastRow = static_cast<uint16_t>(area.lastRow);
    rec.lastCol = static_cast<uint16_t>(area.lastCol);
    rec.style = values.style;
    rec.formulaFlags = values.formulaFlags;
    rec.cellFlags = values.cellFlags;
    rec.precision = values.precision;
    recs.push_back(rec);
    recomputeRangeOverlaps(level);
    const EffectiveAttributes defaults = levelDefaultAttributes(level);
    std::erase_if(recs, [&](const RangeAttrRec& r) { return !r.overlapsEarlier && repeatsDefaults(r, defaults); });
    // Removed records may have been the only partner of another; keep the flags true for the writer.
    recomputeRangeOverlaps(level);
    level.changed = true;
    return true;
}

const RangeAttrRec* rangeRecordAt(const LevelRec& level, int row, int col) {
    const auto& recs = level.rangeRecords;
    auto it = std::find_if(recs.rbegin(), recs.rend(), [&](const RangeAttrRec& r) { return r.contains(row, col); });
    return it == recs.rend() ? nullptr : &*it;
}

EffectiveAttributes placeAttributes(const LevelRec& level, int row, int col) {
    const RangeAttrRec* rec = rangeRecordAt(level, row, col);
    if (rec == nullptr) return levelDefaultAttributes(level);
    return EffectiveAttributes{rec->style, rec->cellFlags, rec->formulaFlags, rec->precision};
}

}  // namespace qx
