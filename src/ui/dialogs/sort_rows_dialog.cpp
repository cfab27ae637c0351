#include "ui/dialogs/sort_rows_dialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace qx {
namespace {

constexpr std::array<const char*, sortrows::kMaxKeys> kKeyTitles = {"Sort by:", "Next, sort by", "Finally, sort by"};

}  // namespace

SortRowsDialog::SortRowsDialog(const CellArea& block, QWidget* parent) : QDialog(parent), m_block(block) {
    setObjectName(QStringLiteral("SortRowsDialog"));
    setWindowTitle(QStringLiteral("Sort rows"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Rows %1 to %2, columns %3 to %4")
                                     .arg(block.firstRow)
                                     .arg(block.lastRow)
                                     .arg(block.firstCol)
                                     .arg(block.lastCol),
                                 this));
    for (int key = 0; key < sortrows::kMaxKeys; ++key) {
        auto* group = new QGroupBox(QString::fromLatin1(kKeyTitles[static_cast<std::size_t>(key)]), this);
        auto* row = new QHBoxLayout(group);
        auto* columns = new QComboBox(group);
        // Only the block's columns move with their rows, so only they can order them.
        if (key > 0) columns->addItem(tr("(none)"), 0);
        for (int col = block.firstCol; col <= block.lastCol; ++col) columns->addItem(tr("Column %1").arg(col), col);
        row->addWidget(columns, 1);
        auto* ascending = new QRadioButton(QStringLiteral("&Ascending"), group);
        auto* descending = new QRadioButton(QStringLiteral("&Descending"), group);
        ascending->setChecked(true);
        row->addWidget(ascending);
        row->addWidget(descending);
        m_columns[static_cast<std::size_t>(key)] = columns;
        m_descending[static_cast<std::size_t>(key)] = descending;
        layout->addWidget(group);
    }
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

std::vector<RowSortKey> SortRowsDialog::keys() const {
    std::vector<RowSortKey> out;
    for (int key = 0; key < sortrows::kMaxKeys; ++key) {
        const int col = keyColumn(key)->currentData().toInt();
        if (col == 0) break;
        out.push_back({col, !descending(key)->isChecked()});
    }
    return out;
}

}  // namespace qx
