#include "ui/dialogs/protection_dialog.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/qt_platform.h"

namespace qx {
namespace {

const QString kMustEnter = QStringLiteral("      Must enter a password to continue:");
const QString kUseReset = QStringLiteral("Use [Reset] button to change password:");
const QString kNotIdentical = QStringLiteral("Passwords were not identical, try again:");
const QString kRemember = QStringLiteral("  REMEMBER THIS PASSWORD !");

bool bitSet(uint32_t word, int bit) {
    return (word >> bit & 1u) != 0;
}

uint32_t withBit(uint32_t word, int bit, bool on) {
    return on ? (word | 1u << bit) : (word & ~(1u << bit));
}

}  // namespace

QString protectionLevelLine(int entry, const ProtectionLevelInfo& info) {
    if (entry == 0) return QStringLiteral("  0)     <Empty Level Default Settings>");
    const QString state = info.empty ? QStringLiteral("<empty>") : QStringLiteral("<data>");
    const QString line = QStringLiteral("%1)     %2   :   %3  ").arg(entry).arg(fromEngine(info.name), state);
    return entry < 10 ? QStringLiteral("  ") + line : line;
}

QString protectionBoxesCaption(int entry, bool empty) {
    if (entry == 0) return QStringLiteral("Default actions allowed at ALL EMPTY Levels:");
    if (empty) return QStringLiteral("Actions ALLOWED at Level %1 (see Empty Level Defaults):").arg(entry);
    return QStringLiteral("Actions ALLOWED at Level %1 include:").arg(entry);
}

ProtectionDialog::ProtectionDialog(ProtectionSettings& live, std::vector<ProtectionLevelInfo> levels,
                                   Platform& platform, QWidget* parent)
    : QDialog(parent), m_live(live), m_work(live), m_levelInfo(std::move(levels)), m_platform(platform) {
    setObjectName(QStringLiteral("ProtectionDialog"));
    setWindowTitle(QStringLiteral("Workbook Protection"));
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(tr("Protection guards a workbook against accidental change. It is not encryption: "
                               "the saved file can still be read."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);

    auto* passwordGroup = new QGroupBox(tr("Password"), this);
    auto* pw = new QVBoxLayout(passwordGroup);
    m_prompt = new QLabel(passwordGroup);
    pw->addWidget(m_prompt);
    m_password = new QLineEdit(passwordGroup);
    m_password->setObjectName(QStringLiteral("Password"));
    m_password->setEchoMode(QLineEdit::Password);
    pw->addWidget(m_password);
    m_confirmBox = new QCheckBox(QStringLiteral("Check this box to confirm password:"), passwordGroup);
    pw->addWidget(m_confirmBox);
    m_confirm = new QLineEdit(passwordGroup);
    m_confirm->setObjectName(QStringLiteral("ConfirmPassword"));
    m_confirm->setEchoMode(QLineEdit::Password);
    pw->addWidget(m_confirm);
    auto* pwButtons = new QHBoxLayout;
    m_confirmButton = new QPushButton(QStringLiteral("Confirm"), passwordGroup);
    m_resetButton = new QPushButton(QStringLiteral("Reset"), passwordGroup);
    pwButtons->addWidget(m_confirmButton);
    pwButtons->addWidget(m_resetButton);
    pwButtons->addStretch();
    pw->addLayout(pwButtons);
    layout->addWidget(passwordGroup);

    auto* permissions = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Select the Worksheet Level to protect:"), this));
    m_levels = new QListWidget(this);
    m_levels->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_levels->addItem(protectionLevelLine(0, {}));
    for (std::size_t n = 1; n < m_levelInfo.size(); ++n) {
        m_levels->addItem(protectionLevelLine(static_cast<int>(n), m_levelInfo[n]));
    }
    const QString widest = protectionLevelLine(kPermissionWordCount - 1, {std::string(16, 'x'), true});
    m_levels->setMinimumWidth(QFontMetrics(m_levels->font()).horizontalAdvance(widest) + 40);
    left->addWidget(m_levels);
    permissions->addLayout(left, 3);
    auto* right = new QVBoxLayout;
    m_boxesCaption = new QLabel(this);
    right->addWidget(m_boxesCaption);
    for (const PermissionInfo& info : permissionTable()) {
        auto* box = new QCheckBox(fromEngine(info.dialogItem), this);
        m_boxes[static_cast<std::size_t>(info.bit)] = box;
        connect(box, &QCheckBox::toggled, this, [this, bit = info.bit](bool on) { boxToggled(bit, on); });
        if (info.bit == kRequireOpenPassword) {
            pw->addWidget(box);  // it belongs to the workbook, not to the selected level
        } else {
            right->addWidget(box);
        }
    }
    m_boxes[kScriptsApplySettings]->setToolTip(
        tr("Ticked: scripts are exempt from this level's settings and may do everything here.\n"
           "Not ticked: scripts are held to the same settings as the user."));
    right->addStretch();
    permissions->addLayout(right, 2);
    layout->addLayout(permissions);

    auto* finishRow = new QHBoxLayout;
    finishRow->addStretch();
    auto* finishButton = new QPushButton(QStringLiteral("Finsih"), this);
    finishButton->setObjectName(QStringLiteral("Finish"));
    auto* cancel = new QPushButton(tr("Cancel"), this);
    // Enter while typing a password confirms it; it never finishes or resets the dialog by accident.
    m_confirmButton->setDefault(true);
    for (QPushButton* b : {m_resetButton, finishButton, cancel}) b->setAutoDefault(false);
    finishRow->addWidget(finishButton);
    finishRow->addWidget(cancel);
    layout->addLayout(finishRow);

    connect(m_password, &QLineEdit::textEdited, this, [this](const QString& t) { passwordEdited(m_password, t); });
    connect(m_confirm, &QLineEdit::textEdited, this, [this](const QString& t) { passwordEdited(m_confirm, t); });
    connect(m_confirmBox, &QCheckBox::toggled, m_confirm, &QWidget::setEnabled);
    connect(m_confirmButton, &QPushButton::clicked, this, &ProtectionDialog::confirmPassword);
    connect(m_resetButton, &QPushButton::clicked, this, &ProtectionDialog::resetPassword);
    connect(m_levels, &QListWidget::currentRowChanged, this, &ProtectionDialog::selectEntry);
    connect(finishButton, &QPushButton::clicked, this, [this] {
        if (finish()) accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_confirm->setEnabled(false);
    const bool hasPassword = !m_work.password.empty();
    m_prompt->setText(hasPassword ? kUseReset : kMustEnter);
    m_password->setText(fromEngine(m_work.password.text()));
    m_password->setReadOnly(hasPassword);
    m_confirmBox->setEnabled(!hasPassword);
    m_levels->setCurrentRow(1);
    setValid(hasPassword);
}

void ProtectionDialog::setValid(bool valid) {
    m_valid = valid;
    m_levels->setEnabled(valid);
    m_boxesCaption->setEnabled(valid);
    showEntry();
}

void ProtectionDialog::passwordEdited(QLineEdit* field, const QString& text) {
    const PasswordEntryCheck check = checkPasswordEntry(toEngine(text));
    if (check.refused) {
        field->clear();
        showIllegalPasswordCharacter(m_platform);
    } else if (fromEngine(check.accepted) != text) {
        field->setText(fromEngine(check.accepted));
    }
    if (field == m_password) {
        m_changed = true;
        m_prompt->setText(kMustEnter);
        if (m_valid) setValid(false);
    }
}

void ProtectionDialog::confirmPassword() {
    if (m_password->isReadOnly()) return;
    const QString typed = m_password->text();
    if (typed.isEmpty() || !m_confirmBox->isChecked() || m_confirm->text() != typed) {
        m_prompt->setText(kNotIdentical);
        setValid(false);
        return;
    }
    m_work.password.assign(toEngine(typed));
    m_changed = true;
    m_prompt->setText(kRemember);
    m_password->setReadOnly(true);
    m_confirmBox->setEnabled(false);
    m_confirm->setEnabled(false);
    setValid(true);
}

void ProtectionDialog::resetPassword() {
    m_work.password.clear();
    m_changed = true;
    m_password->clear();
    m_password->setReadOnly(false);
    m_confirm->clear();
    m_confirmBox->setChecked(false);
    m_confirmBox->setEnabled(true);
    m_confirm->setEnabled(false);
    m_prompt->setText(kMustEnter);
    setValid(false);
    m_password->setFocus();
}

void ProtectionDialog::selectEntry(int entry) {
    if (entry < 0 || entry >= kPermissionWordCount) return;
    m_entry = entry;
    showEntry();
}

void ProtectionDialog::showEntry() {
    const bool empty = m_entry > 0 && static_cast<std::size_t>(m_entry) < m_levelInfo.size()
                           ? m_levelInfo[static_cast<std::size_t>(m_entry)].empty
                           : true;
    m_boxesCaption->setText(protectionBoxesCaption(m_entry, empty));
    const uint32_t word = m_work.permissions[static_cast<std::size_t>(m_entry)];
    for (const PermissionInfo& info : permissionTable()) {
        QCheckBox* box = m_boxes[static_cast<std::size_t>(info.bit)];
        const QSignalBlocker block(box);
        const uint32_t shown = info.bit == kRequireOpenPassword ? m_work.permissions[0] : word;
        box->setChecked(bitSet(shown, info.bit));
        box->setEnabled(m_valid);
    }
    QCheckBox* access = m_boxes[kActionAccess];
    // Level 1 is where a protected workbook opens, so it is always accessible.
    access->setText(m_entry == 1 ? QStringLiteral("Access (required at Level 1)")
                                 : QStringLiteral("Access (without a password)"));
    if (m_entry == 1) access->setEnabled(false);
}

void ProtectionDialog::boxToggled(int bit, bool on) {
    const int entry = bit == kRequireOpenPassword ? 0 : m_entry;
    auto& word = m_work.permissions[static_cast<std::size_t>(entry)];
    setPermissionWord(m_work, entry, withBit(word, bit, on));
    m_changed = true;
    if (entry == 0) {
        std::array<bool, kPermissionWordCount> empty{};
        const std::size_t count = std::min(m_levelInfo.size(), empty.size());
        for (std::size_t n = 0; n < count; ++n) empty[n] = m_levelInfo[n].empty;
        applyEmptyLevelDefaults(m_work, std::span<const bool>(empty.data(), count));
    }
    showEntry();
}

bool ProtectionDialog::finish() {
    if (m_valid && !m_work.password.empty()) {
        m_live = m_work;
        return true;
    }
    if (!m_changed) return true;
    const BoxAnswer answer = m_platform.messageBox(
        "WARNING",
        "A valid password has not been entered.  If you continue, the\nProtection Settings will revert to their "
        "default values.\n\nDo you still want to Exit?",
        BoxIcon::Exclamation, BoxButtons::YesNo);
    if (answer != BoxAnswer::Yes) return false;
    ResetProtection(m_live);
    return true;
}

}  // namespace qx
