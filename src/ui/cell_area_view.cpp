#include "ui/cell_area_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextOption>
#include <algorithm>

#include "app/session.h"
#include "core/attributes.h"
#include "core/style_word.h"
#include "display/cell_display.h"
#include "protect/protection.h"
#include "ui/qt_platform.h"

namespace qx {
namespace {

constexpr int kCellPadding = 2;
constexpr int kBorderGrip = 3;
constexpr int kMinDragSize = 4;
constexpr int kMaxColumnWidth = 1024;
constexpr int kMaxRowHeight = 255;
constexpr int kColumnWidthMask = 0x7FFF;
constexpr int kRowHeightMask = 0x3FFF;
// Wide enough for any label; plain values are cut to the formatter's own limit anyway.
constexpr int kLabelBuffer = kMaxTextLength + 3;
constexpr int kMaxValueChars = 80;

Qt::Alignment horizontalAlignment(uint32_t style, const CellRec& cell) {
    switch (style::justification(style)) {
        case style::kJustifyLeft:
            return Qt::AlignLeft;
        case style::kJustifyCenter:
            return Qt::AlignHCenter;
        case style::kJustifyRight:
            return Qt::AlignRight;
        default:
            return cell.isLabelLike() ? Qt::AlignLeft : Qt::AlignRight;
    }
}

Qt::Alignment verticalAlignment(uint32_t style) {
    switch (style::alignment(style)) {
        case style::kAlignTop:
            return Qt::AlignTop;
        case style::kAlignCenter:
            return Qt::AlignVCenter;
        default:
            return Qt::AlignBottom;
    }
}

QString trimmedBlanks(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    std::size_t last = text.find_last_not_of(' ');
    return fromEngine(std::string_view(text).substr(first, last - first + 1));
}

}  // namespace

CellArea SheetCursor::selection() const {
    return CellArea{std::min(row, anchorRow), std::min(col, anchorCol), std::max(row, anchorRow),
                    std::max(col, anchorCol)};
}

CellAreaView::CellAreaView(Session& session, int level, QWidget* parent)
    : QAbstractScrollArea(parent), m_session(session), m_level(level) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameShape(QFrame::NoFrame);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
    measureBars();
    updateScrollBars();
}

const LevelRec& CellAreaView::rec() const {
    return *m_session.cells().levelPtr(m_level);
}

LevelRec& CellAreaView::rec() {
    return *m_session.cells().levelPtr(m_level);
}

int CellAreaView::colWidth(int col) const {
    return rec().colWidths[static_cast<std::size_t>(col)] & kColumnWidthMask;
}

int CellAreaView::rowHeight(int row) const {
    return rec().rowHeights[static_cast<std::size_t>(row)] & kRowHeightMask;
}

int CellAreaView::headerWidth() const {
    return m_rowBar ? m_barSize.width() : 0;
}

int CellAreaView::headerHeight() const {
    return m_columnBar ? m_barSize.height() : 0;
}

// Every place on screen is measured from the bars, many times a frame; measuring their text each time
// cost more than painting the cells.
void CellAreaView::measureBars() {
    const QFontMetrics metrics = fontMetrics();
    m_barSize = QSize(metrics.horizontalAdvance(QStringLiteral("65534")) + 2 * kCellPadding + 6,
                      metrics.height() + 2 * kCellPadding);
}

void CellAreaView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        measureBars();
        updateScrollBars();
        viewport()->update();
    }
}

int CellAreaView::colX(int col) const {
    int x = headerWidth();
    if (col >= m_leftCol) {
        for (int c = m_leftCol; c < col; ++c) x += colWidth(c);
    } else {
        for (int c = col; c < m_leftCol; ++c) x -= colWidth(c);
    }
    return x;
}

int CellAreaView::rowY(int row) const {
    int y = headerHeight();
    for (int r = m_topRow; r < row; ++r) y += rowHeight(r);
    return y;
}

int CellAreaView::lastVisibleRow() const {
    const int bottom = viewport()->height();
    int y = headerHeight();
    int r = m_topRow;
    while (r < kMaxRow && y + rowHeight(r) < bottom) y += rowHeight(r++);
    return r;
}

int CellAreaView::lastVisibleCol() const {
    const int right = viewport()->width();
    int x = headerWidth();
    int c = m_leftCol;
    while (c < kMaxCol && x + colWidth(c) < right) x += colWidth(c++);
    return c;
}

int CellAreaView::visibleRows() const {
    return lastVisibleRow() - m_topRow + 1;
}

int CellAreaView::visibleCols() const {
    return lastVisibleCol() - m_leftCol + 1;
}

int CellAreaView::colAt(int x) const {
    if (x < headerWidth()) return 0;
    int edge = headerWidth();
    for (int c = m_leftCol; c <= kMaxCol; ++c) {
        edge += colWidth(c);
        if (x < edge) return c;
    }
    return kMaxCol;
}

int CellAreaView::rowAt(int y) const {
    if (y < headerHeight()) return 0;
    int edge = headerHeight();
    const int last = lastVisibleRow();
    for (int r = m_topRow; r <= last; ++r) {
        edge += rowHeight(r);
        if (y < edge) return r;
    }
    return last;
}

int CellAreaView::columnBorderAt(int x) const {
    int edge = headerWidth();
    const int last = lastVisibleCol();
    for (int c = m_leftCol; c <= last; ++c) {
        edge += colWidth(c);
        if (std::abs(x - edge) <= kBorderGrip) return c;
    }
    return 0;
}

int CellAreaView::rowBorderAt(int y) const {
    int edge = headerHeight();
    const int last = lastVisibleRow();
    for (int r = m_topRow; r <= last; ++r) {
        edge += rowHeight(r);
        if (std::abs(y - edge) <= kBorderGrip) return r;
    }
    return 0;
}

QRect CellAreaView::cellRect(int row, int col) const {
    if (row < m_topRow || col < m_leftCol || row > lastVisibleRow() || col > lastVisibleCol()) return {};
    return QRect(colX(col), rowY(row), colWidth(col), rowHeight(row));
}

void CellAreaView::updateScrollBars() {
    QScrollBar* v = verticalScrollBar();
    QScrollBar* h = horizontalScrollBar();
    v->setRange(1, kMaxRow);
    h->setRange(1, kMaxCol);
    v->setPageStep(std::max(1, visibleRows() - 1));
    h->setPageStep(std::max(1, visibleCols() - 1));
    v->setValue(m_topRow);
    h->setValue(m_leftCol);
}

void CellAreaView::scrollContentsBy(int, int) {
    m_topRow = std::clamp(verticalScrollBar()->value(), 1, kMaxRow);
    m_leftCol = std::clamp(horizontalScrollBar()->value(), 1, kMaxCol);
    viewport()->update();
}

void CellAreaView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void CellAreaView::setBarsShown(bool columnBar, bool rowBar) {
    m_columnBar = columnBar;
    m_rowBar = rowBar;
    updateScrollBars();
    viewport()->update();
}

void CellAreaView::refresh() {
    viewport()->update();
}

void CellAreaView::dropCaches() {
    m_fonts.clear();
}

void CellAreaView::scrollToTop(int row) {
    m_topRow = std::clamp(row, 1, kMaxRow);
    updateScrollBars();
    viewport()->update();
}

void CellAreaView::ensureVisible(int row, int col) {
    if (row < m_topRow) m_topRow = row;
    while (row > lastVisibleRow() && m_topRow < row) ++m_topRow;
    if (col < m_leftCol) m_leftCol = col;
    while (col > lastVisibleCol() && m_leftCol < col) ++m_leftCol;
    updateScrollBars();
}

void CellAreaView::moveTo(int row, int col, bool extend) {
    m_cursor.row = std::clamp(row, 1, kMaxRow);
    m_cursor.col = std::clamp(col, 1, kMaxCol);
    if (!extend) {
        m_cursor.anchorRow = m_cursor.row;
        m_cursor.anchorCol = m_cursor.col;
    }
    ensureVisible(m_cursor.row, m_cursor.col);
    viewport()->update();
    emitPointer();
}

void CellAreaView::emitPointer() {
    Q_EMIT pointerMoved();
}

QString CellAreaView::cellText(const CellRec* cell, int row, int col, int widthPx, const PaintFont& font,
                               const CellDisplayContext& base) const {
    CellDisplayContext context = base;
    context.inheritedPrecision = effectivePrecision(m_session.cells(), cell, row, col, m_level);
    context.columnVisible = widthPx > 0;
    if (cell->isLabelLike()) return trimmedBlanks(cellDisplayText(cell, kLabelBuffer, context));
    // A value is shown whole when it fits the column in its own font; otherwise the formatter is
    // asked for fewer characters until it does, so it can choose the exponent form or its '*' marker.
    const int room = widthPx - 2 * kCellPadding;
    QString text = trimmedBlanks(cellDisplayText(cell, kMaxValueChars + 2, context));
    if (font.width(text) <= room) return text;
    for (int chars = std::min(static_cast<int>(text.size()), kMaxValueChars) - 1; chars >= 1; --chars) {
        text = trimmedBlanks(cellDisplayText(cell, chars + 2, context));
        if (font.width(text) <= room) return text;
    }
    return text;
}

void CellAreaView::layoutRow(int row, int y, int h, const CellDisplayContext& context,
                             std::vector<PaintedCell>& out) const {
    const LevelRec& level = rec();
    const int lastCol = lastVisibleCol();
    const RowCells cells = m_session.cells().rowCells(row, m_level);
    // Columns holding a cell, so a label knows how far it may run.
    std::vector<int> used;
    for (const CellRec* cell : cells) used.push_back(cell->col);
    auto occupied = [&used](int col) { return std::binary_search(used.begin(), used.end(), col); };
    const int defaultPoints = m_session.globals().defaults.fontSize;
    for (const CellRec* cell : cells) {
        if (cell->col > lastCol) break;
        const EffectiveAttributes attrs = effectiveAttributes(level, cell, row, cell->col);
        if (cellflag::has(attrs.cellFlags, cellflag::kHideDisplay)) continue;
        const int width = colWidth(cell->col);
        if (width == 0) continue;
        PaintedCell painted;
        painted.row = row;
        painted.col = cell->col;
        painted.style = attrs.style;
        painted.wrap = style::lineWrap(attrs.style) && cell->isLabelLike();
        painted.align = horizontalAlignment(attrs.style, *cell) | verticalAlignment(attrs.style);
        painted.cell = QRect(colX(cell->col), y, width, h);
        painted.clip = painted.cell;
        painted.spanFirst = painted.spanLast = cell->col;
        const PaintFont& font = m_fonts.font(level, attrs.style, defaultPoints);
        painted.text = cellText(cell, row, cell->col, width, font, context);
        if (painted.text.isEmpty()) continue;
        if (cell->isLabelLike() && !painted.wrap) {
            const int needed = font.width(painted.text) + 2 * kCellPadding;
            if (painted.align & Qt::AlignLeft) {
                for (int c = cell->col + 1;
                     painted.clip.width() < needed && c <= lastCol && c <= kMaxCol && !occupied(c); ++c) {
                    painted.clip.setRight(painted.clip.right() + colWidth(c));
                    painted.spanLast = c;
                }
            } else if (painted.align & Qt::AlignRight) {
                for (int c = cell->col - 1; painted.clip.width() < needed && c >= 1 && !occupied(c); --c) {
                    painted.clip.setLeft(painted.clip.left() - colWidth(c));
                    painted.spanFirst = c;
                }
            }
        }
        if (painted.clip.right() < headerWidth()) continue;
        out.push_back(std::move(painted));
    }
}

std::vector<PaintedCell> CellAreaView::layoutCells() const {
    std::vector<PaintedCell> out;
    CellDisplayContext context;
    context.millennium = m_session.platform().now().year / 1000 * 1000;
    const int last = lastVisibleRow();
    int y = headerHeight();
    for (int row = m_topRow; row <= last; ++row) {
        const int h = rowHeight(row);
        if (h > 0) layoutRow(row, y, h, context, out);
        y += h;
    }
    return out;
}

QString CellAreaView::paintedText(int row, int col) const {
    for (const PaintedCell& p : layoutCells()) {
        if (p.row == row && p.col == col) return p.text;
    }
    return {};
}

void CellAreaView::paintRanges(QPainter& p) const {
    for (const ColourRange& range : rec().colourRanges) {
        const CellArea& a = range.area;
        if (a.lastRow < m_topRow || a.lastCol < m_leftCol) continue;
        const int top = a.firstRow < m_topRow ? headerHeight() : rowY(a.firstRow);
        const int left = colX(std::max(a.firstCol, m_leftCol)) - (a.firstCol < m_leftCol ? 0 : 0);
        const int bottom = rowY(std::min(a.lastRow, lastVisibleRow()) + 1);
        const int right = colX(std::min(a.lastCol, lastVisibleCol()) + 1);
        if (a.firstRow > lastVisibleRow() || a.firstCol > lastVisibleCol()) continue;
        p.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), colourFromWord(range.colour));
    }
}

void CellAreaView::paintGrid(QPainter& p, const std::vector<PaintedCell>& spans) const {
    const LevelRec& level = rec();
    if (level.defaults.gridLines == 0) return;
    p.setPen(QPen(textColour(level.defaults.gridColour), 0));
    const int right = viewport()->width();
    const int bottom = viewport()->height();
    const int lastRow = lastVisibleRow();
    const int lastCol = lastVisibleCol();
    // Column boundaries a label runs across, by row.
    std::vector<std::pair<int, int>> joins;
    for (const PaintedCell& cell : spans) {
        for (int c = cell.spanFirst; c < cell.spanLast; ++c) joins.emplace_back(c, cell.row);
    }
    std::sort(joins.begin(), joins.end());
    for (int c = m_leftCol, x = headerWidth(); c <= lastCol; ++c) {
        x += colWidth(c);
        auto first = std::lower_bound(joins.begin(), joins.end(), std::make_pair(c, 0));
        if (first == joins.end() || first->first != c) {
            p.drawLine(x - 1, headerHeight(), x - 1, bottom);
            continue;
        }
        for (int r = m_topRow, y = headerHeight(); r <= lastRow; ++r) {
            const int h = rowHeight(r);
            if (!std::binary_search(first, joins.end(), std::make_pair(c, r))) p.drawLine(x - 1, y, x - 1, y + h - 1);
            y += h;
        }
    }
    for (int r = m_topRow, y = headerHeight(); r <= lastRow; ++r) {
        y += rowHeight(r);
        p.drawLine(headerWidth(), y - 1, right, y - 1);
    }
}

void CellAreaView::paintBorders(QPainter& p) const {
    const int lastRow = lastVisibleRow();
    const int lastCol = lastVisibleCol();
    for (const BorderRange& range : rec().borderRanges) {
        const CellArea& a = range.area;
        if (a.firstRow > lastRow || a.firstCol > lastCol || a.lastRow < m_topRow || a.lastCol < m_leftCol) continue;
        const QColor colour = textColour(range.colour);
        const int top = rowY(std::max(a.firstRow, m_topRow));
        const int bottom = rowY(std::min(a.lastRow, lastRow) + 1) - 1;
        const int left = colX(std::max(a.firstCol, m_leftCol));
        const int right = colX(std::min(a.lastCol, lastCol) + 1) - 1;
        if (range.inside > 0) {
            p.setPen(QPen(colour, range.inside >= 2 ? 2 : 1));
            for (int r = std::max(a.firstRow, m_topRow) + 1; r <= std::min(a.lastRow, lastRow); ++r) {
                p.drawLine(left, rowY(r) - 1, right, rowY(r) - 1);
            }
            for (int c = std::max(a.firstCol, m_leftCol) + 1; c <= std::min(a.lastCol, lastCol); ++c) {
                p.drawLine(colX(c) - 1, top, colX(c) - 1, bottom);
            }
        }
        if (range.outside > 0) {
            p.setPen(QPen(colour, range.outside >= 2 ? 2 : 1));
            p.drawRect(QRect(QPoint(left, top), QPoint(right, bottom)).adjusted(0, 0, -1, -1));
        }
    }
}

void CellAreaView::paintSelection(QPainter& p) const {
    const CellArea sel = m_cursor.selection();
    const int lastRow = lastVisibleRow();
    const int lastCol = lastVisibleCol();
    QColor shade = palette().color(QPalette::Highlight);
    if (sel.firstRow != sel.lastRow || sel.firstCol != sel.lastCol) {
        if (!(sel.firstRow > lastRow || sel.firstCol > lastCol || sel.lastRow < m_topRow || sel.lastCol < m_leftCol)) {
            const QRect r(
                QPoint(colX(std::max(sel.firstCol, m_leftCol)), rowY(std::max(sel.firstRow, m_topRow))),
                QPoint(colX(std::min(sel.lastCol, lastCol) + 1) - 1, rowY(std::min(sel.lastRow, lastRow) + 1) - 1));
            shade.setAlpha(50);
            p.fillRect(r, shade);
        }
    }
    const QRect pointer = cellRect(m_cursor.row, m_cursor.col);
    if (!pointer.isEmpty()) {
        QColor frame = palette().color(QPalette::Highlight);
        p.setPen(QPen(frame, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(pointer.adjusted(0, 0, -1, -1));
    }
}

void CellAreaView::paintBars(QPainter& p) const {
    const QColor face = palette().color(QPalette::Button);
    const QColor faceSelected = palette().color(QPalette::Mid);
    const QColor line = palette().color(QPalette::Dark);
    const QColor text = palette().color(QPalette::ButtonText);
    const CellArea sel = m_cursor.selection();
    p.setFont(font());
    if (m_columnBar) {
        const int h = headerHeight();
        p.fillRect(QRect(0, 0, viewport()->width(), h), face);
        const int last = lastVisibleCol();
        for (int c = m_leftCol, x = headerWidth(); c <= last; ++c) {
            const int w = colWidth(c);
            const QRect r(x, 0, w, h);
            if (c >= sel.firstCol && c <= sel.lastCol) p.fillRect(r, faceSelected);
            p.setPen(line);
            p.drawLine(r.right(), 0, r.right(), h - 1);
            p.setPen(text);
            if (w > 0) p.drawText(r, Qt::AlignCenter, QString::number(c));
            x += w;
        }
        p.setPen(line);
        p.drawLine(0, h - 1, viewport()->width(), h - 1);
    }
    if (m_rowBar) {
        const int w = headerWidth();
        p.fillRect(QRect(0, headerHeight(), w, viewport()->height()), face);
        const int last = lastVisibleRow();
        for (int r = m_topRow, y = headerHeight(); r <= last; ++r) {
            const int h = rowHeight(r);
            const QRect rect(0, y, w, h);
            if (r >= sel.firstRow && r <= sel.lastRow) p.fillRect(rect, faceSelected);
            p.setPen(line);
            p.drawLine(0, rect.bottom(), w - 1, rect.bottom());
            p.setPen(text);
            if (h > 0) {
                p.drawText(rect.adjusted(0, 0, -kCellPadding - 2, 0), Qt::AlignRight | Qt::AlignVCenter,
                           QString::number(r));
            }
            y += h;
        }
        p.setPen(line);
        p.drawLine(w - 1, 0, w - 1, viewport()->height());
    }
    if (m_columnBar && m_rowBar) p.fillRect(QRect(0, 0, headerWidth() - 1, headerHeight() - 1), face);
}

void CellAreaView::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const LevelRec& level = rec();
    p.fillRect(viewport()->rect(), colourFromWord(level.defaults.background));
    p.setClipRect(QRect(headerWidth(), headerHeight(), viewport()->width(), viewport()->height()));
    paintRanges(p);
    const std::vector<PaintedCell> cells = layoutCells();
    paintGrid(p, cells);
    const int defaultPoints = m_session.globals().defaults.fontSize;
    const QRect body(headerWidth(), headerHeight(), viewport()->width(), viewport()->height());
    const PaintFont* lastFont = nullptr;
    int lastColour = -1;
    bool bodyClip = true;
    for (const PaintedCell& cell : cells) {
        const QRect inner = cell.clip.adjusted(kCellPadding, 1, -kCellPadding, -1);
        const PaintFont& font = m_fonts.font(level, cell.style, defaultPoints);
        const int w = font.width(cell.text);
        // Most texts fit their cell; only the others need a clip of their own.
        const bool fits = !cell.wrap && w <= inner.width() && cell.clip.left() >= body.left();
        if (!fits || !bodyClip) p.setClipRect(fits ? body : cell.clip.intersected(body));
        bodyClip = fits;
        if (&font != lastFont) p.setFont(font.font);
        lastFont = &font;
        const int colour = style::colour(cell.style);
        if (colour != lastColour) p.setPen(textColour(colour));
        lastColour = colour;
        if (cell.wrap) {
            QTextOption option(cell.align);
            option.setWrapMode(QTextOption::WordWrap);
            p.drawText(inner, cell.text, option);
            continue;
        }
        // One line placed by hand: far cheaper than a text layout for every cell of every frame.
        int x = inner.left();
        if (cell.align & Qt::AlignRight) x = inner.right() + 1 - w;
        if (cell.align & Qt::AlignHCenter) x = inner.left() + (inner.width() - w) / 2;
        int baseline = inner.bottom() + 1 - font.descent;
        if (cell.align & Qt::AlignTop) baseline = inner.top() + font.ascent;
        if (cell.align & Qt::AlignVCenter) baseline = inner.top() + (inner.height() + font.ascent - font.descent) / 2;
        p.drawStaticText(QPoint(x, baseline - font.ascent), font.laidOut(cell.text));
    }
    p.setClipRect(body);
    paintBorders(p);
    paintSelection(p);
    p.setClipping(false);
    paintBars(p);
}

void CellAreaView::keyPressEvent(QKeyEvent* event) {
    if (m_inputBlocked) return event->ignore();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int row = m_cursor.row;
    const int col = m_cursor.col;
    const int page = std::max(1, visibleRows() - 1);
    switch (event->key()) {
        case Qt::Key_Up:
            return moveTo(row - 1, col, shift);
        case Qt::Key_Down:
            return moveTo(row + 1, col, shift);
        case Qt::Key_Left:
            return moveTo(row, col - 1, shift);
        case Qt::Key_Right:
            return moveTo(row, col + 1, shift);
        case Qt::Key_PageUp:
            m_topRow = std::max(1, m_topRow - page);
            return moveTo(row - page, col, shift);
        case Qt::Key_PageDown:
            m_topRow = std::min(kMaxRow, m_topRow + page);
            return moveTo(row + page, col, shift);
        case Qt::Key_Home:
            return ctrl ? moveTo(1, 1, shift) : moveTo(row, 1, shift);
        case Qt::Key_Tab:
            return moveTo(row, col + 1);
        case Qt::Key_Backtab:
            return moveTo(row, col - 1);
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return moveTo(shift ? row - 1 : row + 1, col);
        case Qt::Key_F2:
            Q_EMIT editRequested(QString(), true);
            return;
        case Qt::Key_Backspace:
            Q_EMIT editRequested(QString(), false);
            return;
        default:
            break;
    }
    const QString typed = event->text();
    if (!ctrl && typed.size() == 1 && typed.front().unicode() >= 32 && typed.front().unicode() != 127) {
        Q_EMIT editRequested(typed, false);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

// Tab and Shift+Tab move the pointer instead of the keyboard focus.
bool CellAreaView::focusNextPrevChild(bool) {
    return false;
}

void CellAreaView::mousePressEvent(QMouseEvent* event) {
    if (m_inputBlocked || event->button() != Qt::LeftButton) return;
    const QPoint pos = event->position().toPoint();
    if (pos.y() < headerHeight() && pos.x() >= headerWidth()) {
        const int border = columnBorderAt(pos.x());
        if (border != 0) {
            if (!m_session.allows(kActionLayout, m_level)) return;
            m_drag = Drag::ColumnWidth;
            m_dragIndex = border;
            m_dragOrigin = pos.x();
            m_dragStartSize = colWidth(border);
            return;
        }
        const int col = colAt(pos.x());
        m_cursor.anchorRow = 1;
        m_cursor.anchorCol = col;
        m_cursor.row = kMaxRow;
        m_cursor.col = col;
        viewport()->update();
        return emitPointer();
    }
    if (pos.x() < headerWidth() && pos.y() >= headerHeight()) {
        const int border = rowBorderAt(pos.y());
        if (border != 0) {
            if (!m_session.allows(kActionLayout, m_level)) return;
            m_drag = Drag::RowHeight;
            m_dragIndex = border;
            m_dragOrigin = pos.y();
            m_dragStartSize = rowHeight(border);
            return;
        }
        const int row = rowAt(pos.y());
        m_cursor.anchorRow = row;
        m_cursor.anchorCol = 1;
        m_cursor.row = row;
        m_cursor.col = kMaxCol;
        viewport()->update();
        return emitPointer();
    }
    const int row = rowAt(pos.y());
    const int col = colAt(pos.x());
    if (row == 0 || col == 0) return;
    m_drag = Drag::Cells;
    moveTo(row, col, event->modifiers() & Qt::ShiftModifier);
}

void CellAreaView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    switch (m_drag) {
        case Drag::None: {
            const bool onColumnBorder = pos.y() < headerHeight() && columnBorderAt(pos.x()) != 0;
            const bool onRowBorder = pos.x() < headerWidth() && rowBorderAt(pos.y()) != 0;
            viewport()->setCursor(onColumnBorder ? Qt::SplitHCursor : onRowBorder ? Qt::SplitVCursor : Qt::ArrowCursor);
            return;
        }
        case Drag::Cells: {
            const int row = std::max(1, rowAt(pos.y()));
            const int col = std::max(1, colAt(pos.x()));
            if (row != m_cursor.row || col != m_cursor.col) moveTo(row, col, true);
            return;
        }
        case Drag::ColumnWidth: {
            const int width = std::clamp(m_dragStartSize + pos.x() - m_dragOrigin, kMinDragSize, kMaxColumnWidth);
            uint16_t& slot = rec().colWidths[static_cast<std::size_t>(m_dragIndex)];
            slot = static_cast<uint16_t>((slot & ~kColumnWidthMask) | width);
            rec().changed = true;
            updateScrollBars();
            viewport()->update();
            return;
        }
        case Drag::RowHeight: {
            const int height = std::clamp(m_dragStartSize + pos.y() - m_dragOrigin, kMinDragSize, kMaxRowHeight);
            uint16_t& slot = rec().rowHeights[static_cast<std::size_t>(m_dragIndex)];
            slot = static_cast<uint16_t>((slot & ~kRowHeightMask) | height);
            rec().changed = true;
            updateScrollBars();
            viewport()->update();
            return;
        }
    }
}

void CellAreaView::mouseReleaseEvent(QMouseEvent*) {
    m_drag = Drag::None;
}

void CellAreaView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (m_inputBlocked) return;
    const QPoint pos = event->position().toPoint();
    if (rowAt(pos.y()) == 0 || colAt(pos.x()) == 0) return;
    Q_EMIT editRequested(QString(), true);
}

}  // namespace qx
