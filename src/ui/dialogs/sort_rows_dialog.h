#pragma once
// "Sort rows": up to three key columns of the selected block, each ascending or descending.
#include <QComboBox>
#include <QDialog>
#include <QRadioButton>
#include <array>
#include <vector>

#include "core/cell_store.h"
#include "edit/sort_rows.h"

namespace qx {

class SortRowsDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit SortRowsDialog(const CellArea& block, QWidget* parent = nullptr);

    // The keys in order, up to the first one left at "(none)".
    std::vector<RowSortKey> keys() const;

    // Key 0 is "Sort by:"; its list holds only the block's columns, the others start with "(none)".
    QComboBox* keyColumn(int key) const { return m_columns[static_cast<std::size_t>(key)]; }
    QRadioButton* descending(int key) const { return m_descending[static_cast<std::size_t>(key)]; }

  private:
    CellArea m_block;
    std::array<QComboBox*, sortrows::kMaxKeys> m_columns{};
    std::array<QRadioButton*, sortrows::kMaxKeys> m_descending{};
};

}  // namespace qx
