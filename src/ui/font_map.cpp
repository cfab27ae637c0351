#include "ui/font_map.h"

#include <QFontMetrics>
#include <array>

#include "core/app_globals.h"
#include "core/level_fonts.h"
#include "core/style_word.h"
#include "ui/qt_platform.h"

namespace qx {
namespace {

struct FamilyMapping {
    std::string_view prefix;
    const char* family;  // empty: the desktop's default sans
};

// The metric-compatible free fonts stand in for the common stored names.
constexpr std::array kMappings = std::to_array<FamilyMapping>({
    {"Arial Black", "Liberation Sans"},
    {"Arial Narrow", "Liberation Sans Narrow"},
    {"Arial", "Liberation Sans"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
    {"Times New Roman", "Liberation Serif"},
    {"System", ""},
    {"MS Sans Serif", ""},
});

QFont::StyleHint hintForFamily(int family) {
    switch (family) {
        case 1:
            return QFont::Serif;
        case 2:
            return QFont::SansSerif;
        case 3:
            return QFont::TypeWriter;
        case 4:
            return QFont::Cursive;
        case 5:
            return QFont::Decorative;
        default:
            return QFont::AnyStyle;
    }
}

bool endsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

}  // namespace

QString mappedFamily(std::string_view storedName) {
    for (const FamilyMapping& m : kMappings) {
        if (storedName.substr(0, m.prefix.size()) == m.prefix) {
            const bool whole = storedName.size() == m.prefix.size() || storedName[m.prefix.size()] == ' ';
            if (!whole) continue;
            return QString::fromLatin1(m.family);
        }
    }
    NameStyle style = nameStyle(storedName);
    std::string_view base = storedName;
    if (style.italic) base.remove_suffix(std::string_view(" Italic").size());
    if (style.bold) base.remove_suffix(std::string_view(" Bold").size());
    return fromEngine(base);
}

NameStyle nameStyle(std::string_view storedName) {
    NameStyle out;
    std::string_view rest = storedName;
    if (endsWith(rest, " Italic")) {
        out.italic = true;
        rest.remove_suffix(std::string_view(" Italic").size());
    }
    if (endsWith(rest, " Bold")) out.bold = true;
    return out;
}

QFont fontForStyle(const LevelRec& level, uint32_t style, int defaultPoints) {
    const std::string_view stored = levelFontName(level, style::font(style));
    QFont font;
    const QString family = mappedFamily(stored);
    if (family.isEmpty()) {
        font.setStyleHint(QFont::SansSerif);
    } else {
        font.setFamily(family);
        font.setStyleHint(hintForFamily(style::family(style)));
    }
    if (style::pitch(style) == 1) font.setFixedPitch(true);
    const NameStyle named = nameStyle(stored);
    font.setPointSize(style::sizePoints(style, defaultPoints));
    font.setBold(style::bold(style) || named.bold);
    font.setItalic(style::italic(style) || named.italic);
    font.setUnderline(style::underline(style));
    return font;
}

QColor colourFromWord(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

uint32_t colourWord(const QColor& colour) {
    return static_cast<uint32_t>(colour.red()) | static_cast<uint32_t>(colour.green()) << 8 |
           static_cast<uint32_t>(colour.blue()) << 16;
}

QColor textColour(int index) {
    if (index < 0 || index >= kTextColourCount) index = 0;
    return colourFromWord(kTextColours[static_cast<std::size_t>(index)].value);
}

namespace {
// Enough for several screens of distinct texts; beyond it the cache starts again.
constexpr qsizetype kMaxLaidOutTexts = 8192;
}  // namespace

PaintFont::PaintFont(const QFont& f, std::string_view stored) : font(f), storedName(stored) {
    const QFontMetrics metrics(font);
    ascent = metrics.ascent();
    descent = metrics.descent();
    for (int c = 0; c < 256; ++c) advances[static_cast<std::size_t>(c)] = metrics.horizontalAdvance(QChar(c));
}

int PaintFont::width(const QString& text) const {
    int total = 0;
    for (const QChar c : text) total += c.unicode() < 256 ? advances[c.unicode()] : advances['M'];
    return total;
}

const QStaticText& PaintFont::laidOut(const QString& text) const {
    auto it = m_texts.constFind(text);
    if (it != m_texts.constEnd()) return *it;
    if (m_texts.size() >= kMaxLaidOutTexts) m_texts.clear();
    QStaticText laid(text);
    laid.setTextFormat(Qt::PlainText);
    laid.prepare(QTransform(), font);
    return *m_texts.insert(text, laid);
}

const PaintFont& FontCache::font(const LevelRec& level, uint32_t style, int defaultPoints) {
    // The colour and layout bits do not change the font.
    const quint64 key = (static_cast<quint64>(style::withAlignment(
                             style::withJustification(style::withColour(style::withLineWrap(style, false), 0), 0), 0))
                         << 8) |
                        static_cast<quint64>(defaultPoints & 0xFF);
    std::unique_ptr<PaintFont>& slot = m_fonts[key];
    const std::string_view stored = levelFontName(level, style::font(style));
    if (!slot || slot->storedName != stored) {
        slot = std::make_unique<PaintFont>(fontForStyle(level, style, defaultPoints), stored);
    }
    return *slot;
}

}  // namespace qx
