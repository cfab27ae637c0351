#include "ui/dialogs/rename_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "files/open_save.h"
#include "ui/qt_platform.h"

namespace qx {
namespace {

// The name becomes part of a file name, which reaches the file system as bytes: characters beyond
// ASCII would not be the same file name on another machine, so they are refused with the others.
bool acceptable(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() > 126) return false;
    }
    return validDocumentName(toEngine(text));
}

}  // namespace

RenameDialog::RenameDialog(bool workbook, const QString& current, Platform& platform, QWidget* parent)
    : QDialog(parent), m_platform(platform) {
    setObjectName(QStringLiteral("RenameDialog"));
    setWindowTitle(QStringLiteral("Rename %1 (max %2 chars)")
                       .arg(workbook ? QStringLiteral("Workbook") : QStringLiteral("Worksheet"))
                       .arg(kMaxDocumentName));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(workbook ? tr("Workbook name:") : tr("Worksheet name:"), this));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Name"));
    m_name->setMaxLength(static_cast<int>(kMaxDocumentName));
    m_accepted = acceptable(current) ? current.left(static_cast<int>(kMaxDocumentName)) : QString();
    m_name->setText(m_accepted);
    m_name->selectAll();
    layout->addWidget(m_name);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(box);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_name, &QLineEdit::textEdited, this, &RenameDialog::edited);
    setMinimumWidth(m_name->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24);
}

void RenameDialog::edited(const QString& text) {
    if (acceptable(text)) {
        m_accepted = text;
        return;
    }
    // The character just typed (or pasted) goes; the caret stays where it was.
    const int caret = std::max(0, m_name->cursorPosition() - static_cast<int>(text.size() - m_accepted.size()));
    m_name->setText(m_accepted);
    m_name->setCursorPosition(std::min(caret, static_cast<int>(m_accepted.size())));
    m_platform.messageBox(std::string(kIllegalNameCaption), std::string(kIllegalNameText), BoxIcon::Exclamation,
                          BoxButtons::Ok);
}

}  // namespace qx
