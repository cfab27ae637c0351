#pragma once
// The frame window: menu bar, button bar row with the mode selector, edit bar, the MDI area of
// worksheet windows and the status bar. Every command from a menu, a button or a function key goes
// through dispatchCommand, which is also where recording mode takes commands for a bar.
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <array>
#include <functional>
#include <map>

#include "app/command_table.h"
#include "protect/protection.h"
#include "ui/button_bar_widget.h"
#include "ui/edit_bar.h"
#include "ui/worksheet_window.h"

class QSessionManager;

namespace qx {

class Session;
class QtPlatform;
class FrameDialogs;

class MainWindow final : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow(Session& session, QtPlatform& platform, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Marks the program as inside an engine operation for its lifetime: commands and close
    // requests that arrive through a nested event loop (a box opened by the operation) are refused.
    class EngineScope {
      public:
        explicit EngineScope(MainWindow& w) : m_w(w) {
            if (m_w.m_engineDepth++ == 0) m_w.scriptAction(true);
        }
        ~EngineScope() {
            if (--m_w.m_engineDepth == 0) m_w.scriptAction(false);
        }
        EngineScope(const EngineScope&) = delete;
        EngineScope& operator=(const EngineScope&) = delete;

      private:
        MainWindow& m_w;
    };
    bool engineBusy() const { return m_engineDepth > 0; }

    // Runs a command of the command table as from its menu; false when it was refused or diverted.
    bool dispatchCommand(int id);
    // Runs an engine operation as a command runs: inside an EngineScope, its failure reported in the
    // composed box, the cell area following the pointer it leaves. False when refused or failed.
    bool runOperation(const std::function<void(ErrStat&)>& operation);
    // Gives the session the active cell area's pointer and selection.
    void syncSessionFromArea();
    // Recording mode: while set, a command is first offered here and not run when it returns true.
    void setCommandDiverter(std::function<bool(const Command&)> diverter) { m_diverter = std::move(diverter); }
    // Evaluates "+name()" without a cell, as a script button does.
    void runScript(const QString& name);

    // Edit mode.
    bool editing() const { return m_editing; }
    // Starts editing the cell under the pointer; false when protection refuses it.
    bool startEditing(const QString& initial, bool keepText);
    // Commits the edit bar into the cell; false when the entry failed and editing goes on.
    bool commitEdit();
    // Commits as the Return key does: a stored entry moves the pointer one row down.
    void commitAndMoveDown();
    void cancelEdit();
    // The level of the cell being edited (meaningful while editing).
    int editLevel() const { return m_editLevel; }

    // Button bars: show a bar by name, and show the bar set again after it changed.
    void showBar(const QString& name);
    void refreshBars();

    // Worksheet windows.
    WorksheetWindow* openLevelWindow(int level);
    WorksheetWindow* activeWorksheet() const;
    CellAreaView* activeCellArea() const;
    int activeLevel() const;

    // The status bar's active-cell field as the timer last drew it.
    QString statusText() const;
    // Repaints when the engine asked for it; runs after every batch of events.
    void afterEvents();

    // Asks to save changed work; false when the user cancelled (or the save failed).
    bool mayDiscardWork();
    // The desktop asks before logging out; false means the logout should be cancelled.
    bool handleCommitData(bool mayInteract);

    QComboBox* modeSelector() const { return m_modeSelector; }
    ButtonBarWidget* buttonBar() const { return m_buttonBar; }
    EditBar* editBar() const { return m_editBar; }
    QMdiArea* mdiArea() const { return m_mdi; }
    QToolBar* buttonBarRow() const { return m_barRow; }
    QToolBar* editBarRow() const { return m_editRow; }
    // The action a command stands behind in the menus, or null.
    QAction* commandAction(int id) const;
    FrameDialogs* dialogs() const { return m_dialogs; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void buildFileExtras(QMenu* file);
    void buildViewSwitches(QMenu* view);
    void buildWindowMenu(QMenu* window);
    void buildBars();
    void buildEditBar();
    void applyViewSwitches();
    void updateStatus();
    void updateTitles();
    void refreshRecentFiles();
    void refreshFunctionKeys();
    void refreshAllAreas();
    void pointerMoved();
    void subWindowActivated(QMdiSubWindow* window);
    void syncAreaFromSession();
    void showEditBarButtons(bool editMode);
    void showCellEntry();
    void modeChosen(int index);
    void reportFailure(ErrStat& err, int* position = nullptr);
    bool handleUiCommand(int id);
    void enterLevel(int level);
    void guardLockedWindows(const ProtectionSettings& before);
    void openRecent(const QString& path);
    void focusAfterBox();
    void followSessionPointer();

    Session& m_session;
    QtPlatform& m_platform;
    QMdiArea* m_mdi = nullptr;
    QToolBar* m_barRow = nullptr;
    QToolBar* m_editRow = nullptr;
    QComboBox* m_modeSelector = nullptr;
    ButtonBarWidget* m_buttonBar = nullptr;
    EditBar* m_editBar = nullptr;
    QLabel* m_addressLabel = nullptr;
    std::array<QPushButton*, 2> m_editButtons{};
    std::array<int, 2> m_editButtonIds{};
    QLabel* m_statusField = nullptr;
    QTimer m_statusTimer;
    QMenu* m_recentMenu = nullptr;
    QMenu* m_functionKeyMenu = nullptr;
    QMenu* m_levelMenu = nullptr;
    FrameDialogs* m_dialogs = nullptr;
    std::map<int, QAction*> m_commandActions;
    std::map<QString, QAction*> m_keyOwners;  // the standard action behind each key a function key may take
    std::array<QAction*, 6> m_viewActions{};
    std::function<bool(const Command&)> m_diverter;
    int m_engineDepth = 0;
    // The outermost engine operation is one action for the scripts: Esc ends all of its script calls.
    void scriptAction(bool begins);
    bool m_editing = false;
    int m_editLevel = 0;
    int m_editRowNumber = 0;
    int m_editCol = 0;
    QString m_barBeforeEdit;
    bool m_changed = false;
    bool m_followedPointer = false;
    std::string m_functionKeySeen;
    QPointer<WorksheetWindow> m_lastActive;
};

}  // namespace qx
