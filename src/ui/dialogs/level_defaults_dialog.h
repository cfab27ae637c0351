#pragma once
// "Level defaults": what the places and cells of one level look like when nothing else says, and how
// often its Range Operations are computed after a change.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QSpinBox>

#include "core/cell_records.h"

namespace qx {

class LevelDefaultsDialog final : public QDialog {
    Q_OBJECT
  public:
    LevelDefaultsDialog(int level, const LevelDefaults& current, QWidget* parent = nullptr);

    // The defaults as the dialog now shows them; fields it does not show keep their values.
    LevelDefaults defaults() const;

    QCheckBox* gridLines() const { return m_gridLines; }
    QComboBox* gridColour() const { return m_gridColour; }
    QComboBox* background() const { return m_background; }
    QSpinBox* columnWidth() const { return m_columnWidth; }
    QSpinBox* rowHeight() const { return m_rowHeight; }
    QSpinBox* precision() const { return m_precision; }
    QSpinBox* rangePasses() const { return m_rangePasses; }

  private:
    LevelDefaults m_current;
    QCheckBox* m_gridLines = nullptr;
    QComboBox* m_gridColour = nullptr;
    QComboBox* m_background = nullptr;
    QSpinBox* m_columnWidth = nullptr;
    QSpinBox* m_rowHeight = nullptr;
    QSpinBox* m_precision = nullptr;
    QSpinBox* m_rangePasses = nullptr;
};

}  // namespace qx
