#include "ui/dialogs/function_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>

#include "functions/function_help.h"
#include "ui/qt_platform.h"

namespace qx {

FunctionDialog::FunctionDialog(const FunctionRegistry& registry, QWidget* parent)
    : QDialog(parent), m_registry(registry) {
    setObjectName(QStringLiteral("FunctionDialog"));
    setWindowTitle(tr("Insert a function"));
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("Category:"), this), 0, 0);
    layout->addWidget(new QLabel(tr("Function:"), this), 0, 1);
    m_categories = new QListWidget(this);
    for (std::string_view name : functionCategories()) m_categories->addItem(fromEngine(name));
    layout->addWidget(m_categories, 1, 0);
    m_functions = new QListWidget(this);
    layout->addWidget(m_functions, 1, 1);
    m_help = new QLabel(this);
    m_help->setObjectName(QStringLiteral("HelpText"));
    m_help->setWordWrap(true);
    m_help->setTextFormat(Qt::PlainText);
    m_help->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_help->setMinimumHeight(m_help->fontMetrics().lineSpacing() * 4);
    m_help->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(m_help, 2, 0, 1, 2);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_insert = box->addButton(tr("&Insert"), QDialogButtonBox::AcceptRole);
    m_insert->setEnabled(false);
    layout->addWidget(box, 3, 0, 1, 2);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_categories, &QListWidget::currentRowChanged, this, &FunctionDialog::showCategory);
    connect(m_functions, &QListWidget::currentRowChanged, this, &FunctionDialog::showFunction);
    connect(m_functions, &QListWidget::itemDoubleClicked, this, [this] {
        if (!insertion().isEmpty()) accept();
    });
    m_categories->setCurrentRow(0);
    resize(520, 420);
}

void FunctionDialog::showCategory(int row) {
    m_functions->clear();
    m_shown = categoryFunctions(m_registry, row + 1);
    for (const FunctionEntry* e : m_shown) m_functions->addItem(fromEngine(e->name));
    if (m_shown.empty()) {
        m_help->setText(tr("The functions of this category are not available yet."));
        m_insert->setEnabled(false);
        return;
    }
    m_functions->setCurrentRow(0);
}

void FunctionDialog::showFunction(int row) {
    if (row < 0 || row >= static_cast<int>(m_shown.size())) {
        m_help->clear();
        m_insert->setEnabled(false);
        return;
    }
    const FunctionEntry& e = *m_shown[static_cast<std::size_t>(row)];
    QString text = fromEngine(e.callTemplate);
    if (e.callTemplate.find('<') != std::string_view::npos) {
        text += tr("\n\nArguments in angle brackets may be left out.");
    }
    m_help->setText(text);
    m_insert->setEnabled(true);
}

QString FunctionDialog::insertion() const {
    const int row = m_functions->currentRow();
    if (row < 0 || row >= static_cast<int>(m_shown.size())) return {};
    return fromEngine(insertionText(m_shown[static_cast<std::size_t>(row)]->callTemplate));
}

}  // namespace qx
