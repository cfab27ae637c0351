#include "ui/dialogs/insert_dialogs.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "core/cell_records.h"
#include "functions/function_help.h"
#include "ui/qt_platform.h"

namespace qx {
namespace {

constexpr int kChoiceRole = Qt::UserRole;

}  // namespace

AddressDialog::AddressDialog(int row, int col, int level, int highestLevel, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AddressDialog"));
    setWindowTitle(tr("Insert a cell address"));
    auto* form = new QFormLayout(this);
    auto spin = [this](int low, int high, int value) {
        auto* box = new QSpinBox(this);
        box->setRange(low, high);
        box->setValue(std::clamp(value, low, high));
        return box;
    };
    m_row = spin(1, kMaxRow, row);
    m_col = spin(1, kMaxCol, col);
    m_level = spin(1, std::max(1, highestLevel), level);
    form->addRow(tr("Row:"), m_row);
    form->addRow(tr("Column:"), m_col);
    form->addRow(tr("Level:"), m_level);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    box->addButton(tr("&Insert"), QDialogButtonBox::AcceptRole)->setDefault(true);
    form->addRow(box);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_row->setFocus();
    m_row->selectAll();
}

InsertListDialog::InsertListDialog(const QString& title, std::vector<Choice> choices, QWidget* parent)
    : QDialog(parent), m_choices(std::move(choices)) {
    setObjectName(QStringLiteral("InsertListDialog"));
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    m_filter = new QLineEdit(this);
    m_filter->setPlaceholderText(tr("Type to filter"));
    m_filter->setClearButtonEnabled(true);
    layout->addWidget(m_filter);
    m_list = new QListWidget(this);
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (std::size_t i = 0; i < m_choices.size(); ++i) {
        auto* item = new QListWidgetItem(m_choices[i].shown, m_list);
        item->setData(kChoiceRole, static_cast<int>(i));
    }
    layout->addWidget(m_list);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* insert = box->addButton(tr("&Insert"), QDialogButtonBox::AcceptRole);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_filter, &QLineEdit::textChanged, this, &InsertListDialog::applyFilter);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::currentRowChanged, this, [this, insert] { insert->setEnabled(chosen() != nullptr); });
    if (m_list->count() > 0) m_list->setCurrentRow(0);
    insert->setEnabled(chosen() != nullptr);
    m_filter->setFocus();
    resize(460, 420);
}

void InsertListDialog::applyFilter(const QString& text) {
    QListWidgetItem* firstShown = nullptr;
    for (int i = 0; i < m_list->count(); ++i) {
        QListWidgetItem* item = m_list->item(i);
        const bool shown = text.isEmpty() || item->text().contains(text, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && firstShown == nullptr) firstShown = item;
    }
    m_list->setCurrentItem(firstShown);
}

const InsertListDialog::Choice* InsertListDialog::chosen() const {
    const QListWidgetItem* item = m_list->currentItem();
    if (item == nullptr || item->isHidden()) return nullptr;
    return &m_choices[static_cast<std::size_t>(item->data(kChoiceRole).toInt())];
}

std::vector<InsertListDialog::Choice> InsertListDialog::labelChoices(const std::vector<LevelLabel>& labels) {
    std::vector<Choice> out;
    out.reserve(labels.size());
    for (const LevelLabel& l : labels) {
        out.push_back({QStringLiteral("[%1,%2]  %3").arg(l.row).arg(l.col).arg(l.text), l.text, true});
    }
    return out;
}

std::vector<InsertListDialog::Choice> InsertListDialog::functionChoices(const FunctionRegistry& registry) {
    std::vector<Choice> out;
    std::set<std::string_view> seen;  // a function listed under two categories is offered once
    for (int category = 1; category <= kCategoryCount; ++category) {
        for (const FunctionEntry* e : categoryFunctions(registry, category)) {
            if (!seen.insert(e->name).second) continue;
            out.push_back({fromEngine(insertionText(e->callTemplate)), fromEngine(insertionText(e->callTemplate))});
        }
    }
    return out;
}

EntryViewDialog::EntryViewDialog(const QString& place, const QString& entry, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("EntryViewDialog"));
    setWindowTitle(tr("Entry of %1").arg(place));
    auto* layout = new QVBoxLayout(this);
    m_text = new QPlainTextEdit(entry, this);
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text->setWordWrapMode(QTextOption::WrapAnywhere);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(m_text);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(520, 200);
}

}  // namespace qx
