#pragma once
// The cell area of one worksheet window: column and row bars, grid, cell texts in their styles,
// ranges, the selection and the cell pointer, keyboard and mouse navigation, and dragging column
// widths and row heights. It paints one level of the session's workbook.
#include <QAbstractScrollArea>
#include <QFontMetrics>
#include <QString>
#include <memory>
#include <vector>

#include "core/cell_records.h"
#include "display/object_description.h"
#include "ui/font_map.h"

namespace qx {

class Session;

// One cell text as painted: where it is clipped, how it is aligned, in which style.
struct PaintedCell {
    int row = 0;
    int col = 0;
    QRect clip;  // the cell, widened over the empty neighbours a label runs into
    QRect cell;
    QString text;
    Qt::Alignment align;
    uint32_t style = 0;
    bool wrap = false;
    int spanFirst = 0;  // the columns the text covers, its own included
    int spanLast = 0;
};

// The place and extent of the selection within a window; the pointer is one corner's partner.
struct SheetCursor {
    int row = 1;
    int col = 1;
    int anchorRow = 1;  // the fixed corner while the selection is extended
    int anchorCol = 1;
    CellArea selection() const;
};

class CellAreaView : public QAbstractScrollArea {
    Q_OBJECT
  public:
    CellAreaView(Session& session, int level, QWidget* parent = nullptr);

    int level() const { return m_level; }
    const SheetCursor& cursor() const { return m_cursor; }
    int topRow() const { return m_topRow; }
    int leftCol() const { return m_leftCol; }

    // Moves the pointer (and with `extend` the selection's far corner) and scrolls it into view.
    void moveTo(int row, int col, bool extend = false);
    void scrollToTop(int row);
    void setBarsShown(bool columnBar, bool rowBar);
    // Repaints: the level's cells or attributes changed.
    void refresh();
    // Forgets the fonts and laid-out texts kept from earlier frames.
    void dropCaches();

    // What the cell area paints now for the visible part of the level.
    std::vector<PaintedCell> layoutCells() const;
    // The text painted for the cell at the place, or a null string when none is painted there.
    QString paintedText(int row, int col) const;
    // The cell's rectangle in viewport coordinates (empty when not visible).
    QRect cellRect(int row, int col) const;
    // Rows and columns wholly or partly visible.
    int visibleRows() const;
    int visibleCols() const;

    // Keys and clicks are refused while the program is inside an engine operation or editing.
    void setInputBlocked(bool blocked) { m_inputBlocked = blocked; }

  Q_SIGNALS:
    void pointerMoved();
    // Typing starts editing: `initial` replaces the entry text, or with `keepText` the cell's text is kept.
    void editRequested(const QString& initial, bool keepText);
    void commandRequested(int id);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool focusNextPrevChild(bool next) override;
    void changeEvent(QEvent* event) override;

  private:
    enum class Drag { None, Cells, ColumnWidth, RowHeight };

    const LevelRec& rec() const;
    LevelRec& rec();
    int colWidth(int col) const;
    int rowHeight(int row) const;
    int headerWidth() const;
    int headerHeight() const;
    void measureBars();
    int lastVisibleRow() const;
    int lastVisibleCol() const;
    // x of the column's left edge in viewport coordinates (may be negative left of the view).
    int colX(int col) const;
    int rowY(int row) const;
    // Place under a viewport point; 0 for a header.
    int colAt(int x) const;
    int rowAt(int y) const;
    int columnBorderAt(int x) const;
    int rowBorderAt(int y) const;
    void updateScrollBars();
    void ensureVisible(int row, int col);
    void emitPointer();
    QString cellText(const CellRec* cell, int row, int col, int widthPx, const PaintFont& font,
                     const CellDisplayContext& base) const;
    void layoutRow(int row, int y, int h, const CellDisplayContext& context, std::vector<PaintedCell>& out) const;
    void paintRanges(QPainter& p) const;
    // `spans` are the painted cells: no grid line is drawn through a label running over its neighbours.
    void paintGrid(QPainter& p, const std::vector<PaintedCell>& spans) const;
    void paintBorders(QPainter& p) const;
    void paintSelection(QPainter& p) const;
    void paintBars(QPainter& p) const;

    Session& m_session;
    int m_level;
    SheetCursor m_cursor;
    int m_topRow = 1;
    int m_leftCol = 1;
    bool m_columnBar = true;
    bool m_rowBar = true;
    bool m_inputBlocked = false;
    QSize m_barSize;  // the row bar's width and the column bar's height, in the widget's font
    Drag m_drag = Drag::None;
    int m_dragIndex = 0;
    int m_dragOrigin = 0;
    int m_dragStartSize = 0;
    mutable FontCache m_fonts;
};

}  // namespace qx
