#pragma once
// "Workbook Protection": the workbook password and the permission word of every level. The dialog
// edits a working copy and writes it back only when it finishes with a confirmed password.
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <array>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "protect/protection.h"

namespace qx {

struct ProtectionLevelInfo {
    std::string name;  // the level's worksheet name
    bool empty = true;
};

// The list line of a level (0: the defaults of empty levels).
QString protectionLevelLine(int entry, const ProtectionLevelInfo& info);
// The caption over the check boxes for the selected entry.
QString protectionBoxesCaption(int entry, bool empty);

class ProtectionDialog final : public QDialog {
    Q_OBJECT
  public:
    // `levels[n]` describes level n; entry 0 is unused.
    ProtectionDialog(ProtectionSettings& live, std::vector<ProtectionLevelInfo> levels, Platform& platform,
                     QWidget* parent = nullptr);

    // "Finsih": true when the dialog may close (the settings were written back or reset).
    bool finish();

    QLabel* prompt() const { return m_prompt; }
    QLineEdit* passwordField() const { return m_password; }
    QCheckBox* confirmBox() const { return m_confirmBox; }
    QLineEdit* confirmField() const { return m_confirm; }
    QPushButton* confirmButton() const { return m_confirmButton; }
    QPushButton* resetButton() const { return m_resetButton; }
    QListWidget* levelList() const { return m_levels; }
    QLabel* boxesCaption() const { return m_boxesCaption; }
    QCheckBox* permissionBox(int bit) const { return m_boxes.at(static_cast<std::size_t>(bit)); }
    const ProtectionSettings& workingCopy() const { return m_work; }

  private:
    void passwordEdited(QLineEdit* field, const QString& text);
    void confirmPassword();
    void resetPassword();
    void selectEntry(int entry);
    void boxToggled(int bit, bool on);
    void showEntry();
    void setValid(bool valid);

    ProtectionSettings& m_live;
    ProtectionSettings m_work;
    std::vector<ProtectionLevelInfo> m_levelInfo;
    Platform& m_platform;
    int m_entry = 1;
    bool m_valid = false;
    bool m_changed = false;
    QLabel* m_prompt = nullptr;
    QLineEdit* m_password = nullptr;
    QCheckBox* m_confirmBox = nullptr;
    QLineEdit* m_confirm = nullptr;
    QPushButton* m_confirmButton = nullptr;
    QPushButton* m_resetButton = nullptr;
    QListWidget* m_levels = nullptr;
    QLabel* m_boxesCaption = nullptr;
    std::array<QCheckBox*, kScriptsApplySettings + 1> m_boxes{};
};

}  // namespace qx
