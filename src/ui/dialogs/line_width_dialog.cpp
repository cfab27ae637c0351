#include "ui/dialogs/line_width_dialog.h"

#include <QDialogButtonBox>
#include <QIntValidator>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialogs/number_entry.h"

namespace qx {
namespace {

constexpr int kLowest = 1;
constexpr int kHighest = 256;

}  // namespace

LineWidthDialog::LineWidthDialog(const QString& prompt, Platform& platform, QWidget* parent)
    : QDialog(parent), m_platform(platform) {
    setObjectName(QStringLiteral("LineWidthDialog"));
    setWindowTitle(QString::fromLatin1(kLineWidthCaption.data(), static_cast<qsizetype>(kLineWidthCaption.size())));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(prompt.isEmpty() ? QStringLiteral("Enter max characters/line (1 to 256) :") : prompt, this));
    m_field = new QLineEdit(QString::number(kDefaultLineWidth), this);
    m_field->setMaxLength(6);
    m_field->selectAll();
    layout->addWidget(m_field);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* useDefault = box->addButton(QStringLiteral("Use default"), QDialogButtonBox::ResetRole);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, &LineWidthDialog::take);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(useDefault, &QPushButton::clicked, this, [this] {
        m_width = kDefaultLineWidth;
        accept();
    });
}

void LineWidthDialog::take() {
    m_width = readNumberEntry(*m_field, kLowest, kHighest, m_platform);
    if (m_width) accept();
}

}  // namespace qx
