#include "ui/entry_insert.h"

#include "core/cell_store.h"
#include "formula/entry.h"
#include "ui/qt_platform.h"

namespace qx {

QString addressInsertion(int row, int col, int level, int entryLevel) {
    if (level == entryLevel) return QStringLiteral("[%1,%2]").arg(row).arg(col);
    return QStringLiteral("[%1,%2,,%3]").arg(row).arg(col).arg(level);
}

QString labelInsertion(const QString& entry, const QString& label) {
    if (classifyEntry(toEngine(entry)) != EntryKind::Formula) return label;
    QString text = label;
    text.replace(QLatin1Char('"'), QLatin1Char('\''));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

void insertBracketPair(QLineEdit& edit) {
    const QString text = edit.text();
    const int at = edit.cursorPosition();
    if (!edit.hasSelectedText() && at > 0 && at < text.size()) {
        const QStringView pair = QStringView(text).mid(at - 1, 2);
        const QString swapped = pair == u"()" ? QStringLiteral("[]") : pair == u"[]" ? QStringLiteral("()") : QString();
        if (!swapped.isEmpty()) {
            edit.setText(text.left(at - 1) + swapped + text.mid(at + 1));
            edit.setCursorPosition(at);
            return;
        }
    }
    // An entry at its length limit takes no pair: the edit bar would cut the closing bracket.
    if (text.size() + 2 > edit.maxLength()) return;
    const QString inside = edit.selectedText();
    edit.insert(QLatin1Char('(') + inside + QLatin1Char(')'));
    if (inside.isEmpty()) edit.setCursorPosition(edit.cursorPosition() - 1);
}

std::vector<LevelLabel> levelLabels(const CellStore& cells, int level) {
    std::vector<LevelLabel> out;
    const LevelRec* rec = cells.levelPtr(level);
    if (rec == nullptr || rec->bottom == nullptr) return out;
    for (int row = 1; row <= rec->bottom->row; ++row) {
        for (const CellRec* cell : cells.rowCells(row, level)) {
            if (cell->isLabel() && !cell->textView().empty()) {
                out.push_back({cell->row, cell->col, fromEngine(cell->textView())});
            }
        }
    }
    return out;
}

}  // namespace qx
