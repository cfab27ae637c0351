#include "ui/dialogs/level_defaults_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPixmap>

#include "core/app_globals.h"
#include "core/attributes.h"
#include "ui/font_map.h"
#include "ui/qt_platform.h"

namespace qx {
namespace {

constexpr int kMaxPrecision = 15;

QIcon swatch(const QColor& colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

QString colourWordText(uint32_t bgr) {
    return QStringLiteral("#%1").arg(colourFromWord(bgr).rgb() & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

QSpinBox* spin(QWidget* parent, int low, int high, int value) {
    auto* box = new QSpinBox(parent);
    box->setRange(low, std::max(high, value));
    box->setValue(value);
    return box;
}

}  // namespace

LevelDefaultsDialog::LevelDefaultsDialog(int level, const LevelDefaults& current, QWidget* parent)
    : QDialog(parent), m_current(current) {
    setObjectName(QStringLiteral("LevelDefaultsDialog"));
    setWindowTitle(tr("Level defaults: Level %1").arg(level));
    auto* form = new QFormLayout(this);

    m_gridLines = new QCheckBox(tr("Show grid lines"), this);
    m_gridLines->setChecked(current.gridLines != 0);
    form->addRow(tr("Grid lines:"), m_gridLines);

    m_gridColour = new QComboBox(this);
    for (int i = 0; i < kTextColourCount; ++i) {
        m_gridColour->addItem(swatch(textColour(i)), fromEngine(kTextColours[static_cast<std::size_t>(i)].name));
    }
    m_gridColour->setCurrentIndex(std::min<int>(current.gridColour, kTextColourCount - 1));
    form->addRow(tr("Grid colour:"), m_gridColour);

    m_background = new QComboBox(this);
    for (uint32_t word : kBackgroundColours) {
        m_background->addItem(swatch(colourFromWord(word)), colourWordText(word), QVariant::fromValue(word));
    }
    int shown = m_background->findData(QVariant::fromValue(current.background));
    if (shown < 0) {  // a colour from a file that the table does not hold stays choosable
        m_background->addItem(swatch(colourFromWord(current.background)), colourWordText(current.background),
                              QVariant::fromValue(current.background));
        shown = m_background->count() - 1;
    }
    m_background->setCurrentIndex(shown);
    form->addRow(tr("Background colour:"), m_background);

    m_columnWidth = spin(this, 0, kWidestColumn, current.columnWidth);
    m_columnWidth->setSuffix(tr(" px"));
    form->addRow(tr("Column width:"), m_columnWidth);
    m_rowHeight = spin(this, 0, kTallestRow, current.rowHeight);
    m_rowHeight->setSuffix(tr(" px"));
    form->addRow(tr("Row height:"), m_rowHeight);
    m_precision = spin(this, 0, kMaxPrecision, current.precision);
    form->addRow(tr("Decimal places:"), m_precision);
    m_rangePasses = spin(this, 0, UINT16_MAX, current.rangePasses);
    m_rangePasses->setToolTip(
        tr("How many times the cells with Range Operations are computed after a change (0: not at all)."));
    form->addRow(QStringLiteral("Range Operation  Recalculation Flag"), m_rangePasses);

    auto* note = new QLabel(tr("Columns and rows still at the old default size take the new one."), this);
    note->setWordWrap(true);
    form->addRow(note);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(box);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

LevelDefaults LevelDefaultsDialog::defaults() const {
    LevelDefaults d = m_current;
    d.gridLines = m_gridLines->isChecked() ? 1 : 0;
    d.gridColour = static_cast<uint8_t>(m_gridColour->currentIndex());
    d.background = m_background->currentData().value<uint32_t>();
    d.columnWidth = static_cast<uint16_t>(m_columnWidth->value());
    d.rowHeight = static_cast<uint16_t>(m_rowHeight->value());
    d.precision = static_cast<uint16_t>(m_precision->value());
    d.rangePasses = static_cast<uint16_t>(m_rangePasses->value());
    return d;
}

}  // namespace qx
