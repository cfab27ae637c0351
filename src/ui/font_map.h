#pragma once
// From a cell's style word to what is painted: the font (the stored font names are mapped to fonts
// this machine has) and the colours (0x00BBGGRR words become QColor only here).
#include <QColor>
#include <QFont>
#include <QHash>
#include <QStaticText>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

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
// The colour word 0x00BBGGRR of a colour.
uint32_t colourWord(const QColor& colour);
QColor textColour(int index);

// A font with what painting asks of it often: its line metrics and the advance of each Latin-1
// character, so fitting a cell text costs a table sum instead of a text layout.
struct PaintFont {
    QFont font;
    std::string storedName;  // the level's name the font was made for
    int ascent = 0;
    int descent = 0;
    std::array<int, 256> advances{};

    PaintFont(const QFont& f, std::string_view stored);
    int width(const QString& text) const;
    // The text laid out once in this font; the same texts are painted frame after frame.
    const QStaticText& laidOut(const QString& text) const;

  private:
    mutable QHash<QString, QStaticText> m_texts;
};

// Fonts by style word; a worksheet uses few, so this stays small.
class FontCache {
  public:
    const PaintFont& font(const LevelRec& level, uint32_t style, int defaultPoints);
    void clear() { m_fonts.clear(); }

  private:
    std::unordered_map<uint64_t, std::unique_ptr<PaintFont>> m_fonts;
};

}  // namespace qx
