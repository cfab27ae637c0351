#pragma once
// The two dialogs that change the button bars. "Add (deleted) a Button ..." is modeless: while it is
// open the frame records every command it is asked to run as a button of the bar being built,
// instead of running it. "Add (deleted) a Button Bar ..." adds bars and deletes the bar on show.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <string>

#include "app/command_table.h"
#include "core/button_bars.h"
#include "platform/platform.h"

namespace qx {

class AddButtonDialog final : public QDialog {
    Q_OBJECT
  public:
    // Records into the bar on show when the dialog opens, even if another bar is shown meanwhile.
    AddButtonDialog(BarSet& bars, const CommandTable& commands, Platform& platform, QWidget* parent = nullptr);

    // Takes a command as a new button; always true, since a recorded command never runs.
    bool record(const Command& command);
    // Adds a script button named as the script-name field says.
    void addScriptButton();

    const std::string& targetBar() const { return m_target; }
    QLineEdit* scriptName() const { return m_scriptName; }
    QListWidget* buttonList() const { return m_list; }

  Q_SIGNALS:
    // The target bar's buttons changed; the frame shows the bar set again.
    void barChanged();

  private:
    // Runs `change` on the target bar (the bar set changes only the bar on show), then shows
    // the bar that was on show before.
    template <class Change>
    bool onTarget(Change change);
    void deleteSelected();
    void moveSelected(int by);
    void refreshList(int select = -1);
    void warn(const std::string& caption, const std::string& text);

    BarSet& m_bars;
    const CommandTable& m_commands;
    Platform& m_platform;
    std::string m_target;
    QListWidget* m_list = nullptr;
    QLineEdit* m_scriptName = nullptr;
};

class BarMenuDialog final : public QDialog {
    Q_OBJECT
  public:
    BarMenuDialog(BarSet& bars, Platform& platform, QWidget* parent = nullptr);

    // Adds a bar named as the name field says; it becomes the bar on show.
    bool addBar();
    // Deletes the bar on show, unless it is a default bar.
    bool deleteShownBar();

    QLineEdit* nameField() const { return m_name; }
    QListWidget* barList() const { return m_list; }

  Q_SIGNALS:
    void barsChanged();

  private:
    void refreshList();
    void warn(const std::string& caption, const std::string& text);

    BarSet& m_bars;
    Platform& m_platform;
    QLineEdit* m_name = nullptr;
    QListWidget* m_list = nullptr;
};

// The caption and text of the refusal of a new bar name, or empty ones when the name may be used.
struct BarNameRefusal {
    std::string caption;
    std::string text;
};
BarNameRefusal checkNewBarName(const std::string& name);

}  // namespace qx
