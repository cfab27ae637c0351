#include "ui/dialogs/array_dialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "core/cell_records.h"
#include "ui/dialogs/number_entry.h"
#include "ui/edit_bar.h"

namespace qx {

ArraySizeDialog::ArraySizeDialog(Platform& platform, QWidget* parent) : QDialog(parent), m_platform(platform) {
    setObjectName(QStringLiteral("ArraySizeDialog"));
    setWindowTitle(QString::fromLatin1(kArraySizeCaption));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(
        QStringLiteral("This dialog box affects only FORMULA cell(s) within the selected area.  Area Areas can be "
                       "CREATED for these cells by entering a number between 1 and the maximun size allowed (or "
                       "REMOVED by entering 0)."),
        this);
    text->setWordWrap(true);
    layout->addWidget(text);
    layout->addWidget(new QLabel(QStringLiteral("(Maximun array size: %1)").arg(kMaxArrayElements), this));
    m_field = new QLineEdit(QStringLiteral("0"), this);
    m_field->setObjectName(QStringLiteral("Size"));
    m_field->setMaxLength(6);
    m_field->selectAll();
    layout->addWidget(m_field);
    m_warn = new QCheckBox(QStringLiteral("Enable warning messages"), this);
    m_warn->setChecked(true);
    layout->addWidget(m_warn);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, &ArraySizeDialog::take);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setMinimumWidth(m_field->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 30);
}

void ArraySizeDialog::take() {
    m_size = readNumberEntry(*m_field, 0, kMaxArrayElements, m_platform);
    if (m_size) accept();
}

ArrayElementsDialog::ArrayElementsDialog(Cell cell, std::vector<double> elements, Conversions conversions,
                                         QWidget* parent)
    : QDialog(parent), m_conv(std::move(conversions)), m_values(std::move(elements)) {
    setObjectName(QStringLiteral("ArrayElementsDialog"));
    setWindowTitle(QString::fromLatin1(kArrayElementsCaption));
    auto* layout = new QVBoxLayout(this);
    m_cellLabel = new QLabel(
        QString::asprintf("[%d,%d,%d,%d]", cell.row, cell.col, static_cast<int>(m_values.size()), cell.level), this);
    m_cellLabel->setToolTip(tr("[row, column, number of elements, level]"));
    layout->addWidget(m_cellLabel);
    m_list = new QListWidget(this);
    m_list->setUniformItemSizes(true);
    for (std::size_t i = 0; i < m_values.size(); ++i) m_list->addItem(QString());
    for (int i = 0; i < m_list->count(); ++i) refreshRow(i);
    layout->addWidget(m_list, 1);

    auto* edit = new QHBoxLayout;
    m_value = new QLineEdit(this);
    m_value->setObjectName(QStringLiteral("Value"));
    m_value->setValidator(new Latin1Validator(m_value));
    m_value->setMaxLength(kEditBarLimit);
    m_value->setToolTip(tr("A number or a formula; Set stores it in the chosen element"));
    edit->addWidget(m_value, 1);
    m_set = new QPushButton(tr("Set"), this);
    m_setAll = new QPushButton(QStringLiteral("Set all"), this);
    m_clearAll = new QPushButton(QStringLiteral("Clear all"), this);
    edit->addWidget(m_set);
    edit->addWidget(m_setAll);
    edit->addWidget(m_clearAll);
    layout->addLayout(edit);

    auto* box = new QDialogButtonBox(this);
    QPushButton* ok = box->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    box->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    layout->addWidget(box);
    // Enter sets the element being edited; only a click on "Ok" writes the copy back.
    ok->setAutoDefault(false);
    m_set->setDefault(true);
    connect(m_set, &QPushButton::clicked, this, [this] {
        if (store() && m_list->currentRow() + 1 < m_list->count()) m_list->setCurrentRow(m_list->currentRow() + 1);
    });
    connect(m_setAll, &QPushButton::clicked, this, &ArrayElementsDialog::setAll);
    connect(m_clearAll, &QPushButton::clicked, this, &ArrayElementsDialog::clearAll);
    connect(box, &QDialogButtonBox::accepted, this, [this] {
        // A value typed but not yet set is what the user expects to keep.
        if (m_value->isModified() && !store()) return;
        accept();
    });
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::currentRowChanged, this, &ArrayElementsDialog::choose);
    m_list->setCurrentRow(0);
    m_value->setFocus();
    setMinimumWidth(m_value->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 32);
}

void ArrayElementsDialog::refreshRow(int index) {
    m_list->item(index)->setText(
        QStringLiteral("%1)   %2").arg(index + 1, 4).arg(m_conv.show(m_values[static_cast<std::size_t>(index)])));
}

void ArrayElementsDialog::choose(int index) {
    if (index < 0) return;
    m_value->setText(m_conv.show(m_values[static_cast<std::size_t>(index)]));
    m_value->setModified(false);
    m_value->selectAll();
}

bool ArrayElementsDialog::store() {
    const int index = m_list->currentRow();
    if (index < 0) return false;
    const std::optional<double> v = m_conv.read(m_value->text());
    if (!v) {
        m_value->setFocus();
        m_value->selectAll();
        return false;
    }
    m_values[static_cast<std::size_t>(index)] = *v;
    m_value->setModified(false);
    refreshRow(index);
    return true;
}

void ArrayElementsDialog::setAll() {
    const std::optional<double> v = m_conv.read(m_value->text());
    if (!v) return;
    std::fill(m_values.begin(), m_values.end(), *v);
    m_value->setModified(false);
    for (int i = 0; i < m_list->count(); ++i) refreshRow(i);
}

void ArrayElementsDialog::clearAll() {
    std::fill(m_values.begin(), m_values.end(), 0.0);
    for (int i = 0; i < m_list->count(); ++i) refreshRow(i);
    choose(m_list->currentRow());
}

}  // namespace qx
