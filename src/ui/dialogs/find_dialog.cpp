#include "ui/dialogs/find_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <array>

#include "ui/edit_bar.h"

namespace qx {
namespace {

struct CellTypeChoice {
    const char* text;
    FindCells cells;
};

constexpr std::array kCellTypes = std::to_array<CellTypeChoice>({
    {"All", FindCells::All},
    {"Formulas", FindCells::Formulas},
    {"Labels", FindCells::Labels},
    {"Variable Labels", FindCells::VariableLabels},
    {"Tags", FindCells::Tags},
});

}  // namespace

FindDialog::FindDialog(const FindMemory& last, Actions actions, QWidget* parent)
    : QDialog(parent), m_actions(std::move(actions)) {
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(QStringLiteral("Find"));
    auto* layout = new QVBoxLayout(this);
    auto* texts = new QFormLayout;
    m_find = new QLineEdit(QString::fromLatin1(last.text.data(), static_cast<qsizetype>(last.text.size())), this);
    m_find->setObjectName(QStringLiteral("FindText"));
    // Cell texts are bytes: a pattern outside Latin-1 could never match.
    m_find->setValidator(new Latin1Validator(m_find));
    m_find->setMaxLength(static_cast<int>(findreplace::kMaxFindText));
    m_find->setToolTip(tr("'~' matches any run of characters"));
    texts->addRow(tr("Find what:"), m_find);
    m_replaceOn = new QCheckBox(QStringLiteral("Replace with:"), this);
    m_with = new QLineEdit(QString::fromLatin1(last.with.data(), static_cast<qsizetype>(last.with.size())), this);
    m_with->setObjectName(QStringLiteral("ReplaceText"));
    m_with->setValidator(new Latin1Validator(m_with));
    m_with->setMaxLength(kEditBarLimit);
    texts->addRow(m_replaceOn, m_with);
    layout->addLayout(texts);

    auto* choices = new QHBoxLayout;
    auto* typeBox = new QGroupBox(QStringLiteral("Cell type:"), this);
    auto* typeLayout = new QVBoxLayout(typeBox);
    m_cellType = new QComboBox(typeBox);
    for (const CellTypeChoice& c : kCellTypes) m_cellType->addItem(QString::fromLatin1(c.text));
    for (std::size_t i = 0; i < kCellTypes.size(); ++i) {
        if (kCellTypes[i].cells == last.options.cells) m_cellType->setCurrentIndex(static_cast<int>(i));
    }
    typeLayout->addWidget(m_cellType);
    choices->addWidget(typeBox);
    auto* directionBox = new QGroupBox(tr("Direction"), this);
    auto* directionLayout = new QVBoxLayout(directionBox);
    m_down = new QRadioButton(QStringLiteral("&Down"), directionBox);
    m_up = new QRadioButton(QStringLiteral("&Up"), directionBox);
    (last.options.up ? m_up : m_down)->setChecked(true);
    directionLayout->addWidget(m_down);
    directionLayout->addWidget(m_up);
    choices->addWidget(directionBox);
    layout->addLayout(choices);
    m_ignoreCase = new QCheckBox(QStringLiteral("&Ignore case"), this);
    m_ignoreCase->setChecked(last.options.ignoreCase);
    layout->addWidget(m_ignoreCase);

    m_outcome = new QLabel(this);
    m_outcome->setObjectName(QStringLiteral("Outcome"));
    m_outcome->setTextFormat(Qt::PlainText);
    layout->addWidget(m_outcome);

    auto* box = new QDialogButtonBox(this);
    m_findNext = box->addButton(tr("&Find Next"), QDialogButtonBox::ActionRole);
    m_replace = box->addButton(tr("&Replace"), QDialogButtonBox::ActionRole);
    box->addButton(QDialogButtonBox::Close);
    m_findNext->setDefault(true);
    layout->addWidget(box);
    connect(m_findNext, &QPushButton::clicked, this, &FindDialog::findNext);
    connect(m_replace, &QPushButton::clicked, this, &FindDialog::replaceFound);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_replaceOn, &QCheckBox::toggled, this, &FindDialog::updateButtons);
    connect(m_find, &QLineEdit::textEdited, this, [this] {
        m_found = false;
        updateButtons();
    });
    updateButtons();
    m_find->selectAll();
    setMinimumWidth(m_find->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 30);
}

FindOptions FindDialog::options() const {
    FindOptions o;
    o.cells = kCellTypes[static_cast<std::size_t>(std::max(0, m_cellType->currentIndex()))].cells;
    o.up = m_up->isChecked();
    o.ignoreCase = m_ignoreCase->isChecked();
    return o;
}

void FindDialog::findNext() {
    if (m_find->text().isEmpty()) {
        m_outcome->setText(tr("Type the text to find."));
        m_find->setFocus();
        return;
    }
    const FoundCell hit = m_actions.find(options(), m_find->text());
    m_found = hit.found;
    m_outcome->setText(hit.found
                           ? QStringLiteral("[%1,%2]  %3")
                                 .arg(hit.row)
                                 .arg(hit.col)
                                 .arg(QString::fromLatin1(hit.text.data(), static_cast<qsizetype>(hit.text.size())))
                           : tr("No more cells match."));
    updateButtons();
}

void FindDialog::replaceFound() {
    if (!m_found) return;
    // The cell changes under the pointer; the next replacement needs the next find.
    m_found = false;
    if (m_actions.replace(m_find->text(), m_with->text())) {
        findNext();
        m_outcome->setText(tr("Replaced.  %1").arg(m_outcome->text()));
        return;
    }
    m_outcome->setText(tr("Not replaced."));
    updateButtons();
}

void FindDialog::updateButtons() {
    m_with->setEnabled(m_replaceOn->isChecked());
    m_replace->setEnabled(m_replaceOn->isChecked() && m_found);
}

}  // namespace qx
