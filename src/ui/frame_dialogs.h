#pragma once
// The frame's dialogs: the button-bar dialogs and recording mode, the protection dialog, the
// function-insert dialog, Rename, the level defaults, Find, Sort rows and the Array Area dialogs. Commands of the
// command table that have a dialog in the desktop program come here before the engine would run them.
#include <QAction>
#include <QMenu>
#include <QObject>
#include <QPointer>

#include "ui/dialogs/bar_dialogs.h"

namespace qx {

class MainWindow;
class Session;
class QtPlatform;

class FrameDialogs final : public QObject {
    Q_OBJECT
  public:
    FrameDialogs(MainWindow& frame, Session& session, QtPlatform& platform);

    // Puts the dialogs that are not commands into the View and Tools menus.
    void addMenuEntries(QMenu* view, QMenu* tools);
    // Opens the dialog of a command; false when the command has none here.
    bool runCommand(int id);

    // "Add (deleted) a Button ...": the frame records commands while it is open.
    void openAddButton();
    void openBarMenu();
    void openProtection();
    void openLevelDefaults();
    void insertFunction();
    // The edit bar's insert commands: each starts editing the cell under the pointer when no cell is
    // being edited, then inserts at the caret.
    void insertLabel();
    void insertAddress();
    void insertBrackets();
    // "List": the level's labels and the functions, one chosen inserted; "View": the whole entry.
    void openList();
    void openView();
    void rename(int level);
    void openFind();
    void openSortRows();
    void openArraySize();
    void openArrayElements();
    // "+BkColor": a colour for the selection's background.
    void chooseBackground();
    // The script controls: libraries, scripts, Swap Area, and compiling from there.
    void openScripts();

    // The open recording dialog, or null.
    AddButtonDialog* recording() const { return m_recording; }
    QAction* addButtonAction() const { return m_addButton; }
    QAction* barMenuAction() const { return m_barMenu; }
    QAction* protectionAction() const { return m_protection; }
    QAction* levelDefaultsAction() const { return m_levelDefaults; }
    QAction* scriptsAction() const { return m_scripts; }

  private:
    bool readyForBlockCommand();
    // Editing, started here when it was not; false when protection refused it.
    bool readyForInsert();
    void insertAtCaret(const QString& text);

    MainWindow& m_frame;
    Session& m_session;
    QtPlatform& m_platform;
    QPointer<AddButtonDialog> m_recording;
    QAction* m_addButton = nullptr;
    QAction* m_barMenu = nullptr;
    QAction* m_protection = nullptr;
    QAction* m_levelDefaults = nullptr;
    QAction* m_scripts = nullptr;
};

}  // namespace qx
