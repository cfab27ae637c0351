#pragma once
// What the edit bar's insert commands put at the caret: a cell address, a label's text, a pair of
// brackets; and the labels of a level they choose from.
#include <QLineEdit>
#include <QString>
#include <vector>

namespace qx {

class CellStore;

// "[row,col]", or "[row,col,,level]" when the address names another level than the entry's.
QString addressInsertion(int row, int col, int level, int entryLevel);

// Inside a formula a label's text goes in as a string constant; a string constant cannot hold a
// double quote, so those become apostrophes. Elsewhere the text goes in as it is.
QString labelInsertion(const QString& entry, const QString& label);

// Puts a bracket pair at the caret with the caret between, or around the selected text. Pressed again
// while the caret sits in the empty pair it just made, it turns "()" into "[]" and back.
void insertBracketPair(QLineEdit& edit);

struct LevelLabel {
    int row = 0;
    int col = 0;
    QString text;
};

// The Label cells of a level, row by row, with their texts.
std::vector<LevelLabel> levelLabels(const CellStore& cells, int level);

}  // namespace qx
