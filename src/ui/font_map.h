#pragma once
// From a cell's style word to what is painted: the font (the stored font names are mapped to fonts
// this machine has) and the colours (0x00BBGGRR words become QColor only here).
#include <QColor>
#include <QFont>
#include <QHash>
#include <cstdint>
#include <string_view>

#include "core/cell_records.h"

namespace qx {

// The family fontconfig should look for in place of a stored font name.
QString mappedFamily(std::string_view storedName);

// Bold and italic that a stored name such as "Arial Bold Italic" carries in itself.
struct NameStyle {
    bool bold = false;
    bool italic = false;
};
NameStyle nameStyle(std::string_view storedName);

// The font of a style word on a level, at `defaultPoints` when the word's size code is 0.
QFont fontForStyle(const LevelRec& level, uint32_t style, int defaultPoints);

QColor colourFromWord(uint32_t bgr);
QColor textColour(int index);

// Fonts by style word for one paint; a worksheet uses few, so this stays small.
class FontCache {
  public:
    const QFont& font(const LevelRec& level, uint32_t style, int defaultPoints);
    void clear() { m_fonts.clear(); }

  private:
    QHash<quint64, QFont> m_fonts;
};

}  // namespace qx
