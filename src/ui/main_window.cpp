#include "ui/main_window.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QSessionManager>
#include <QStatusBar>
#include <algorithm>
#include <utility>

#include "app/document_commands.h"
#include "app/session.h"
#include "app/transfer_commands.h"
#include "core/err_report.h"
#include "core/paths.h"
#include "core/style_word.h"
#include "protect/protection.h"
#include "quorix_version.h"
#include "ui/app_icon.h"
#include "ui/frame_dialogs.h"
#include "ui/menu_layout.h"
#include "ui/qt_platform.h"

namespace qx {
namespace {

constexpr int kStatusIntervalMs = 100;
constexpr int kStatusTextMs = 10000;  // an engine status line stays long enough to be read
constexpr int kEscButton = 592;
constexpr int kRtnButton = 593;
constexpr int kFirstFunctionKey = 2;
constexpr int kLastFunctionKey = 16;

QString commandText(const Command& c) {
    return fromEngine(c.menuText);
}

bool blankLabel(const std::string& label) {
    return label.find_first_not_of(' ') == std::string::npos;
}

}  // namespace

MainWindow::MainWindow(Session& session, QtPlatform& platform, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_platform(platform) {
    m_platform.setFrame(this);
    m_platform.setOnChanged([this] { m_changed = true; });
    m_platform.setAfterBox([this] { focusAfterBox(); });
    m_platform.setBeforeBox([this] { followSessionPointer(); });
    m_platform.setReentryGuard([this] { return engineBusy(); });
    m_platform.setOnStatusText([this](const QString& text) { statusBar()->showMessage(text, kStatusTextMs); });
    setObjectName(QStringLiteral("FrameWindow"));
    setWindowIcon(appIcon());

    m_mdi = new QMdiArea(this);
    m_mdi->setViewMode(QMdiArea::SubWindowView);
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::subWindowActivated);

    buildBars();
    buildEditBar();
    buildMenus();

    m_statusField = new QLabel(this);
    m_statusField->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("[ 65534, 255 ]  Variable Label  ")));
    statusBar()->addWidget(m_statusField);
    connect(&m_statusTimer, &QTimer::timeout, this, &MainWindow::updateStatus);
    m_statusTimer.start(kStatusIntervalMs);

    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &MainWindow::afterEvents);
    }
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (!handleCommitData(manager.allowsInteraction())) manager.cancel();
    });

    openLevelWindow(1);
    applyViewSwitches();
    updateTitles();
    updateStatus();
    resize(1024, 700);
}

MainWindow::~MainWindow() {
    // Worksheet windows and the loop hook go while this window is still whole: their signals
    // reach members of it.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) disconnect(dispatcher, nullptr, this, nullptr);
    m_statusTimer.stop();
    disconnect(m_mdi, nullptr, this, nullptr);
    delete m_mdi;
    m_mdi = nullptr;
    m_platform.setFrame(nullptr);
    m_platform.setOnChanged({});
    m_platform.setAfterBox({});
    m_platform.setBeforeBox({});
    m_platform.setReentryGuard({});
    m_platform.setOnStatusText({});
}

// ---- building ----

void MainWindow::buildBars() {
    m_barRow = addToolBar(tr("Button bar"));
    m_barRow->setObjectName(QStringLiteral("ButtonBarRow"));
    m_barRow->setMovable(false);
    m_modeSelector = new QComboBox(m_barRow);
    m_modeSelector->setObjectName(QStringLiteral("ButtonBarMenu"));
    m_modeSelector->setToolTip(QStringLiteral("Button Bar Menu"));
    m_modeSelector->setAccessibleName(QStringLiteral("Button Bar Menu"));
    m_modeSelector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_modeSelector->setMinimumContentsLength(kMaxBarName);
    m_modeSelector->setFocusPolicy(Qt::NoFocus);
    m_barRow->addWidget(m_modeSelector);
    m_barRow->addSeparator();
    m_buttonBar = new ButtonBarWidget(m_session.bars(), m_barRow);
    m_barRow->addWidget(m_buttonBar);
    connect(m_modeSelector, &QComboBox::activated, this, &MainWindow::modeChosen);
    connect(m_buttonBar, &ButtonBarWidget::commandPressed, this, [this](int id) { dispatchCommand(id); });
    connect(m_buttonBar, &ButtonBarWidget::scriptPressed, this, &MainWindow::runScript);
    m_session.bars().showBar(kStandardModeName);
    refreshBars();
}

void MainWindow::buildEditBar() {
    addToolBarBreak();
    m_editRow = addToolBar(tr("Edit bar"));
    m_editRow->setObjectName(QStringLiteral("EditBarRow"));
    m_editRow->setMovable(false);
    m_addressLabel = new QLabel(m_editRow);
    m_addressLabel->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("[65534,255,,32]")) + 8);
    m_addressLabel->setAlignment(Qt::AlignCenter);
    m_editRow->addWidget(m_addressLabel);
    for (std::size_t i = 0; i < m_editButtons.size(); ++i) {
        m_editButtons[i] = new QPushButton(m_editRow);
        m_editButtons[i]->setFocusPolicy(Qt::NoFocus);
        m_editRow->addWidget(m_editButtons[i]);
        connect(m_editButtons[i], &QPushButton::clicked, this, [this, i] { dispatchCommand(m_editButtonIds[i]); });
    }
    m_editBar = new EditBar(m_editRow);
    m_editRow->addWidget(m_editBar);
    connect(m_editBar, &QLineEdit::returnPressed, this, &MainWindow::commitAndMoveDown);
    connect(m_editBar, &EditBar::escapePressed, this, &MainWindow::cancelEdit);
    connect(m_editBar, &EditBar::clickedIn, this, [this] {
        if (!m_editing && !engineBusy()) startEditing(QString(), true);
    });
    showEditBarButtons(false);
}

void MainWindow::buildMenus() {
    std::map<MenuId, QMenu*> menus;
    for (MenuId id :
         {MenuId::File, MenuId::Edit, MenuId::View, MenuId::Tools, MenuId::Debug, MenuId::Window, MenuId::Help}) {
        menus[id] = menuBar()->addMenu(fromEngine(menuTitle(id)));
    }
    buildViewSwitches(menus[MenuId::View]);
    std::map<std::pair<MenuId, std::string_view>, QMenu*> submenus;
    auto target = [&](MenuId menu, std::string_view sub) -> QMenu* {
        if (sub.empty()) return menus[menu];
        QMenu*& m = submenus[{menu, sub}];
        if (m == nullptr) m = menus[menu]->addMenu(fromEngine(sub));
        return m;
    };
    auto addCommand = [&](QMenu* menu, const Command& c) {
        QAction* action = menu->addAction(commandText(c));
        action->setData(c.id);
        action->setToolTip(fromEngine(c.name));
        connect(action, &QAction::triggered, this, [this, id = c.id] { dispatchCommand(id); });
        m_commandActions[c.id] = action;
    };
    const CommandTable& table = m_session.commands();
    for (const MenuPlacement& p : menuPlacements()) {
        if (p.command == "-") {
            target(p.menu, p.submenu)->addSeparator();
            continue;
        }
        if (const Command* c = table.findByName(p.command)) addCommand(target(p.menu, p.submenu), *c);
    }
    // A command that has no place yet still gets one, so nothing in the table is out of reach.
    for (const Command& c : table.all()) {
        if (!m_commandActions.contains(c.id)) addCommand(target(MenuId::Tools, "More"), c);
    }
    for (const CommandShortcut& s : commandShortcuts()) {
        if (const Command* c = table.findByName(s.command)) {
            QAction* action = m_commandActions[c->id];
            action->setShortcut(
                QKeySequence(QString::fromLatin1(s.keys.data(), static_cast<qsizetype>(s.keys.size()))));
            m_keyOwners[action->shortcut().toString()] = action;
        }
    }
    for (const CommandTip& t : commandTips()) {
        if (const Command* c = table.findByName(t.command)) m_commandActions[c->id]->setStatusTip(fromEngine(t.tip));
    }
    buildFileExtras(menus[MenuId::File]);

    QMenu* edit = menus[MenuId::Edit];
    QAction* editCell = new QAction(tr("Edit cell"), this);
    editCell->setShortcut(QKeySequence(Qt::Key_F2));
    connect(editCell, &QAction::triggered, this, [this] {
        if (!m_editing && !engineBusy()) startEditing(QString(), true);
    });
    edit->insertAction(edit->actions().value(0), editCell);
    m_keyOwners[editCell->shortcut().toString()] = editCell;

    m_dialogs = new FrameDialogs(*this, m_session, m_platform);
    m_dialogs->addMenuEntries(menus[MenuId::View], menus[MenuId::Tools]);
    m_functionKeyMenu = menus[MenuId::Tools]->addMenu(tr("Function keys"));
    refreshFunctionKeys();
    buildWindowMenu(menus[MenuId::Window]);
    menus[MenuId::Help]->addAction(tr("About Quorix"), this, [this] {
        QMessageBox::about(
            this, tr("About Quorix"),
            tr("Quorix %1\nA spreadsheet for engineering and surveying.").arg(fromEngine(kQuorixVersion)));
    });
}

void MainWindow::buildFileExtras(QMenu* file) {
    file->addSeparator();
    m_recentMenu = file->addMenu(tr("Recent files"));
    connect(m_recentMenu, &QMenu::aboutToShow, this, &MainWindow::refreshRecentFiles);
    refreshRecentFiles();
    file->addSeparator();
    QAction* quit = file->addAction(tr("Exit"), this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);
}

void MainWindow::buildViewSwitches(QMenu* view) {
    const std::array<QString, 6> names{tr("Edit bar"), tr("Button bar"), tr("Column bar"),
                                       tr("Row bar"),  tr("Status bar"), tr("Comments")};
    for (std::size_t i = 0; i < names.size(); ++i) {
        QAction* a = view->addAction(names[i]);
        a->setCheckable(true);
        connect(a, &QAction::toggled, this, [this, i](bool on) {
            ViewSwitches& v = m_session.globals().view;
            std::array<int32_t*, 6> fields{&v.editBar, &v.buttonBar, &v.columnBar,
                                           &v.rowBar,  &v.statusBar, &v.comments};
            *fields[i] = on ? 1 : 0;
            applyViewSwitches();
        });
        m_viewActions[i] = a;
    }
    view->addSeparator();
}

void MainWindow::buildWindowMenu(QMenu* window) {
    window->addAction(tr("Cascade"), m_mdi, &QMdiArea::cascadeSubWindows);
    window->addAction(tr("Tile"), m_mdi, &QMdiArea::tileSubWindows);
    window->addAction(tr("Next window"), QKeySequence(QKeySequence::NextChild), m_mdi,
                      &QMdiArea::activateNextSubWindow);
    window->addAction(tr("Previous window"), QKeySequence(QKeySequence::PreviousChild), m_mdi,
                      &QMdiArea::activatePreviousSubWindow);
    m_levelMenu = window->addMenu(tr("Open level"));
    connect(m_levelMenu, &QMenu::aboutToShow, this, [this] {
        m_levelMenu->clear();
        for (int level = 1; level <= m_session.highestLevel(); ++level) {
            const bool empty = m_session.cells().levelEmpty(level);
            const QString name = empty ? tr("<empty>") : fromEngine(m_session.cells().levelPtr(level)->defaultFileName);
            m_levelMenu->addAction(tr("Level %1   %2").arg(level).arg(name), this,
                                   [this, level] { enterLevel(level); });
        }
    });
    window->addSeparator();
    connect(window, &QMenu::aboutToShow, this, [this, window] {
        const QList<QAction*> actions = window->actions();
        for (QAction* a : actions) {
            if (a->property("qxWindowEntry").toBool()) window->removeAction(a), a->deleteLater();
        }
        for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
            QAction* a = window->addAction(sub->windowTitle(), this, [this, sub] { m_mdi->setActiveSubWindow(sub); });
            a->setCheckable(true);
            a->setChecked(sub == m_mdi->activeSubWindow());
            a->setProperty("qxWindowEntry", true);
        }
    });
}

// ---- bars ----

void MainWindow::refreshBars() {
    BarSet& bars = m_session.bars();
    const QSignalBlocker block(m_modeSelector);
    m_modeSelector->clear();
    for (int place : bars.places()) m_modeSelector->addItem(fromEngine(bars.bar(place)->name));
    if (const ButtonBar* shown = bars.shownBar()) {
        m_modeSelector->setCurrentText(fromEngine(shown->name));
        m_session.globals().modeName = shown->name;
    }
    m_buttonBar->rebuild();
}

void MainWindow::showBar(const QString& name) {
    m_session.bars().showBar(toEngine(name));
    refreshBars();
}

void MainWindow::modeChosen(int index) {
    const QString name = m_modeSelector->itemText(index);
    if (name == fromEngine(kEditModeName)) {
        if (m_editing) return;
        if (!startEditing(QString(), true)) showBar(fromEngine(kStandardModeName));
        return;
    }
    showBar(name);
}

void MainWindow::showEditBarButtons(bool editMode) {
    const auto& set = editMode ? kEditModeEditBarButtons : kStandardEditBarButtons;
    for (std::size_t i = 0; i < m_editButtons.size(); ++i) {
        m_editButtons[i]->setText(fromEngine(set[i].label));
        m_editButtonIds[i] = set[i].command;
    }
}

// ---- dispatch ----

bool MainWindow::handleUiCommand(int id) {
    if (m_dialogs->runCommand(id)) return true;
    switch (id) {
        case kEscButton:
            if (m_editing) cancelEdit();
            return true;
        case kRtnButton:
            commitAndMoveDown();
            return true;
        default:
            return false;
    }
}

bool MainWindow::dispatchCommand(int id) {
    // A box opened inside an engine operation runs its own event loop; nothing may start there.
    if (engineBusy()) return false;
    const Command* command = m_session.commands().findById(id);
    if (command == nullptr) return false;
    if (m_diverter && m_diverter(*command)) return false;
    if (handleUiCommand(id)) return true;
    // With every worksheet window closed the session still holds a level, but none is in front of the user.
    if (const auto refusal = withoutWorksheetRefusal(*command);
        refusal && !m_mdi->subWindowList().contains(activeWorksheet())) {
        EngineScope scope(*this);
        messageBox(m_platform, std::string(*refusal), "WARNING", BoxIcon::Exclamation, BoxButtons::Ok);
        return true;
    }
    // The "Edit mode" bar's commands work on the entry being typed; any other command ends the edit.
    const bool editBarCommand = std::any_of(kEditModeButtons.begin(), kEditModeButtons.end(),
                                            [id](const BuiltInButton& b) { return b.command == id; });
    if (m_editing && !editBarCommand) cancelEdit();
    runOperation([this, id, command](ErrStat& err) {
        const CommandOutcome outcome = m_session.dispatch(id, err);
        if (outcome == CommandOutcome::NotAvailable) {
            statusBar()->showMessage(tr("\"%1\" is not available yet.").arg(commandText(*command)), 3000);
        }
        if (outcome != CommandOutcome::Failed) err.clear();  // the command has shown its own boxes
    });
    return true;
}

bool MainWindow::runOperation(const std::function<void(ErrStat&)>& operation) {
    if (engineBusy()) return false;
    syncSessionFromArea();
    const CellPointer before = m_session.pointer();
    const CellArea beforeSel = m_session.selection();
    const ProtectionSettings protectionBefore = m_session.protection();
    ErrStat err;
    {
        EngineScope scope(*this);
        operation(err);
    }
    guardLockedWindows(protectionBefore);
    const bool failed = err.failed();
    if (failed) reportFailure(err);
    const CellPointer after = m_session.pointer();
    const CellArea afterSel = m_session.selection();
    // The cell area may have followed a walk over cells; it must end where the operation left the pointer.
    const bool followed = std::exchange(m_followedPointer, false);
    if (followed || after.row != before.row || after.col != before.col || afterSel.firstRow != beforeSel.firstRow ||
        afterSel.lastRow != beforeSel.lastRow || afterSel.firstCol != beforeSel.firstCol ||
        afterSel.lastCol != beforeSel.lastCol) {
        syncAreaFromSession();
    }
    m_changed = true;
    afterEvents();
    return !failed;
}

void MainWindow::runScript(const QString& name) {
    if (engineBusy()) return;
    if (m_editing) cancelEdit();
    syncSessionFromArea();
    std::string text = "+" + toEngine(name) + "()";
    ErrStat err;
    {
        EngineScope scope(*this);
        Evaluator& evaluator = m_session.formulas().evaluator();
        evaluator.setDefaultLevel(m_session.activeLevel());
        evaluator.evaluateFormula(nullptr, text.data(), err);
    }
    if (err.failed()) reportFailure(err);
    m_changed = true;
}

void MainWindow::scriptAction(bool begins) {
    ScriptContext& scripts = m_session.formulas().evaluator().scripts();
    if (begins) {
        scripts.beginAction();
    } else {
        scripts.endAction();
    }
}

void MainWindow::reportFailure(ErrStat& err, int* position) {
    const ComposedError composed = compose(true, err, m_session.scratch());
    if (position) *position = composed.savedPosition;
    if (composed.header.empty() && composed.text.empty()) return;
    EngineScope scope(*this);
    m_platform.messageBox(composed.header, composed.text, BoxIcon::Exclamation, BoxButtons::Ok);
}

// A command that walks the cursor over cells (the Debug walks) moves the session's pointer and then
// opens a box; the cell area follows, so the cell the box names is the one shown.
void MainWindow::followSessionPointer() {
    CellAreaView* area = activeCellArea();
    if (area == nullptr || !engineBusy() || m_session.activeLevel() != area->level()) return;
    const CellPointer p = m_session.pointer();
    const CellArea sel = m_session.selection();
    const bool single = sel.firstRow == sel.lastRow && sel.firstCol == sel.lastCol;
    if (single && (p.row != area->cursor().row || p.col != area->cursor().col)) {
        area->moveTo(p.row, p.col);
        m_followedPointer = true;
    }
}

void MainWindow::focusAfterBox() {
    if (m_editing) {
        m_editBar->setFocus();
    } else if (CellAreaView* area = activeCellArea()) {
        area->setFocus();
    }
}

// ---- editing ----

bool MainWindow::startEditing(const QString& initial, bool keepText) {
    CellAreaView* area = activeCellArea();
    if (area == nullptr || m_editing || engineBusy()) return false;
    const int level = area->level();
    const int row = area->cursor().row;
    const int col = area->cursor().col;
    {
        EngineScope scope(*this);
        if (!m_session.allows(kActionEdit, level) || !m_session.cellEditable(level, row, col)) return false;
    }
    m_editing = true;
    m_editLevel = level;
    m_editRowNumber = row;
    m_editCol = col;
    if (const ButtonBar* shown = m_session.bars().shownBar(); shown && shown->name != kEditModeName) {
        m_barBeforeEdit = fromEngine(shown->name);
    }
    showBar(fromEngine(kEditModeName));
    showEditBarButtons(true);
    if (!keepText) m_editBar->setText(initial);
    m_editBar->setFocus();
    if (keepText) m_editBar->end(false);
    area->setInputBlocked(true);
    return true;
}

bool MainWindow::commitEdit() {
    if (!m_editing || engineBusy()) return false;
    const std::string text = toEngine(m_editBar->text());
    ErrStat err;
    EntryCommit outcome;
    {
        EngineScope scope(*this);
        outcome = m_session.commitEntry(m_editLevel, m_editRowNumber, m_editCol, text, err);
    }
    if (err.failed()) {
        int position = 0;
        reportFailure(err, &position);
        // An entry refused at a place in its text stays open there, so it can be mended.
        if (position > 0) {
            m_editBar->setFocus();
            m_editBar->setCursorPosition(std::min(position, static_cast<int>(m_editBar->text().size())));
            return false;
        }
    }
    m_editing = false;
    if (CellAreaView* area = activeCellArea()) area->setInputBlocked(false);
    showEditBarButtons(false);
    showBar(m_barBeforeEdit.isEmpty() ? fromEngine(kStandardModeName) : m_barBeforeEdit);
    if (outcome.moved && activeCellArea()) activeCellArea()->moveTo(outcome.row, outcome.col);
    m_changed = true;
    afterEvents();
    showCellEntry();
    if (CellAreaView* area = activeCellArea()) area->setFocus();
    return outcome.stored && !err.failed();
}

void MainWindow::commitAndMoveDown() {
    if (!m_editing) return;
    const bool down = commitEdit();
    if (down && activeCellArea()) {
        CellAreaView* area = activeCellArea();
        area->moveTo(area->cursor().row + 1, area->cursor().col);
    }
}

void MainWindow::cancelEdit() {
    if (!m_editing) return;
    m_editing = false;
    if (CellAreaView* area = activeCellArea()) area->setInputBlocked(false);
    showEditBarButtons(false);
    showBar(m_barBeforeEdit.isEmpty() ? fromEngine(kStandardModeName) : m_barBeforeEdit);
    showCellEntry();
    if (CellAreaView* area = activeCellArea()) area->setFocus();
}

void MainWindow::showCellEntry() {
    CellAreaView* area = activeCellArea();
    if (area == nullptr || m_editing) return;
    const SheetCursor& cursor = area->cursor();
    m_addressLabel->setText(QStringLiteral("[%1,%2]").arg(cursor.row).arg(cursor.col) +
                            (area->level() == 1 ? QString() : QStringLiteral(",,%1").arg(area->level())));
    ErrStat err;
    const CellRec* cell = m_session.cells().findCell(cursor.row, cursor.col, area->level(), err);
    QString entry;
    if (cell != nullptr && cell->isLabel()) {
        entry = fromEngine(cell->textView());
    } else if (cell != nullptr && (cell->isFormula() || cell->isVariableLabel())) {
        entry = fromEngine(m_session.formulas().readableText(*cell, TextOffsets{}, err));
    }
    m_editBar->setText(entry);
    m_editBar->setCursorPosition(0);
}

// ---- windows ----

WorksheetWindow* MainWindow::openLevelWindow(int level) {
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        auto* w = qobject_cast<WorksheetWindow*>(sub);
        if (w && w->level() == level) {
            m_mdi->setActiveSubWindow(w);
            return w;
        }
    }
    auto* w = new WorksheetWindow(m_session, level);
    m_mdi->addSubWindow(w);
    CellAreaView* area = w->cellArea();
    area->setBarsShown(m_session.globals().view.columnBar != 0, m_session.globals().view.rowBar != 0);
    connect(area, &CellAreaView::pointerMoved, this, &MainWindow::pointerMoved);
    connect(area, &CellAreaView::editRequested, this, [this](const QString& initial, bool keep) {
        if (!engineBusy()) startEditing(initial, keep);
    });
    connect(area, &CellAreaView::commandRequested, this, [this](int id) { dispatchCommand(id); });
    w->show();
    if (m_mdi->subWindowList().size() == 1) w->showMaximized();
    m_mdi->setActiveSubWindow(w);
    area->setFocus();
    return w;
}

void MainWindow::enterLevel(int level) {
    if (engineBusy()) return;
    {
        EngineScope scope(*this);
        if (!AskPassword(m_session.protection(), level, m_session.highestLevel(), m_platform)) return;
    }
    openLevelWindow(level);
}

// A workbook just opened may lock levels whose windows are already open. Each such window is hidden
// and asks for the password before it shows the loaded cells; a refused one closes. Level 1 is
// where a protected workbook opens and is never locked.
void MainWindow::guardLockedWindows(const ProtectionSettings& before) {
    const ProtectionSettings& now = m_session.protection();
    if (now.password.text() == before.password.text() && now.permissions == before.permissions) return;
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        auto* w = qobject_cast<WorksheetWindow*>(sub);
        if (w == nullptr || w->level() <= 1 || w->level() >= kPermissionWordCount) continue;
        const bool locked = !now.password.empty() &&
                            (now.permissions[static_cast<std::size_t>(w->level())] & (1u << kActionAccess)) == 0;
        if (!locked) continue;
        w->hide();
        bool granted = false;
        {
            EngineScope scope(*this);
            granted = AskPassword(now, w->level(), m_session.highestLevel(), m_platform);
        }
        if (granted) {
            w->show();
        } else {
            w->close();
        }
    }
    if (m_mdi->subWindowList().isEmpty()) openLevelWindow(1);
    if (QMdiSubWindow* active = m_mdi->activeSubWindow(); active == nullptr || !active->isVisible()) {
        const QList<QMdiSubWindow*> left = m_mdi->subWindowList();
        if (!left.isEmpty()) m_mdi->setActiveSubWindow(left.front());
    }
}

WorksheetWindow* MainWindow::activeWorksheet() const {
    auto* w = qobject_cast<WorksheetWindow*>(m_mdi->activeSubWindow());
    if (w == nullptr) w = m_lastActive;
    return w;
}

CellAreaView* MainWindow::activeCellArea() const {
    WorksheetWindow* w = activeWorksheet();
    return w ? w->cellArea() : nullptr;
}

int MainWindow::activeLevel() const {
    CellAreaView* area = activeCellArea();
    return area ? area->level() : 0;
}

void MainWindow::subWindowActivated(QMdiSubWindow* window) {
    auto* w = qobject_cast<WorksheetWindow*>(window);
    if (w == nullptr) return;
    if (m_editing && w != m_lastActive) cancelEdit();
    m_lastActive = w;
    ErrStat err;
    m_session.setActiveLevel(w->level(), err);
    syncSessionFromArea();
    showCellEntry();
}

void MainWindow::pointerMoved() {
    syncSessionFromArea();
    showCellEntry();
}

void MainWindow::syncSessionFromArea() {
    CellAreaView* area = activeCellArea();
    if (area == nullptr) return;
    ErrStat err;
    const CellArea sel = area->cursor().selection();
    if (sel.firstRow == sel.lastRow && sel.firstCol == sel.lastCol) {
        m_session.moveTo(area->level(), area->cursor().row, area->cursor().col, err);
    } else {
        m_session.select(area->level(), sel, err);
    }
}

void MainWindow::syncAreaFromSession() {
    CellAreaView* area = activeCellArea();
    if (area == nullptr) return;
    const CellArea sel = m_session.selection();
    const CellPointer p = m_session.pointer();
    if (sel.firstRow == sel.lastRow && sel.firstCol == sel.lastCol) {
        area->moveTo(p.row, p.col);
    } else {
        area->moveTo(sel.lastRow, sel.lastCol);
        area->moveTo(sel.firstRow, sel.firstCol, true);
    }
}

// ---- status, repaint and view ----

QString MainWindow::statusText() const {
    return m_statusField->text();
}

void MainWindow::updateStatus() {
    CellAreaView* area = activeCellArea();
    if (area == nullptr) {
        m_statusField->setText(QString::asprintf("[ %d, %d ]", 0, 0));
        return;
    }
    const int row = area->cursor().row;
    const int col = area->cursor().col;
    QString text = QString::asprintf("[ %d, %d ]", row, col);
    ErrStat err;
    if (const CellRec* cell = m_session.cells().findCell(row, col, area->level(), err)) {
        text += QStringLiteral("  ") + fromEngine(cellflag::typeName(cell->type()));
        if (cell->has(cellflag::kProtectCell)) text += tr(", protected");
    }
    if (m_statusField->text() != text) m_statusField->setText(text);
}

void MainWindow::refreshAllAreas() {
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (auto* w = qobject_cast<WorksheetWindow*>(sub)) w->cellArea()->refresh();
    }
}

void MainWindow::updateTitles() {
    setWindowTitle(QStringLiteral("Quorix %1 - [%2]")
                       .arg(QString::number(kProductVersion, 'f', 2), fromEngine(m_session.workbookFiles().name)));
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (auto* w = qobject_cast<WorksheetWindow*>(sub)) w->updateTitle();
    }
}

void MainWindow::afterEvents() {
    ScratchRecord& scratch = m_session.scratch();
    if (scratch.repaintPending || m_changed) {
        scratch.repaintPending = false;
        m_changed = false;
        if (m_session.globals().repaintEnabled) refreshAllAreas();
        updateTitles();
        if (!m_editing && !engineBusy()) showCellEntry();
    }
    for (int level = 0; level <= m_session.highestLevel(); ++level) {
        LevelRec* rec = m_session.cells().levelPtr(level);
        if (rec && rec->interfaceCounter > 1) rec->interfaceCounter = 1;
    }
    refreshFunctionKeys();
}

void MainWindow::applyViewSwitches() {
    const ViewSwitches& v = m_session.globals().view;
    const std::array<int32_t, 6> values{v.editBar, v.buttonBar, v.columnBar, v.rowBar, v.statusBar, v.comments};
    for (std::size_t i = 0; i < m_viewActions.size(); ++i) {
        const QSignalBlocker block(m_viewActions[i]);
        m_viewActions[i]->setChecked(values[i] != 0);
    }
    m_editRow->setVisible(v.editBar != 0);
    m_barRow->setVisible(v.buttonBar != 0);
    statusBar()->setVisible(v.statusBar != 0);
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (auto* w = qobject_cast<WorksheetWindow*>(sub)) w->cellArea()->setBarsShown(v.columnBar != 0, v.rowBar != 0);
    }
}

void MainWindow::refreshRecentFiles() {
    m_recentMenu->clear();
    const auto& recent = m_session.globals().recentFiles;
    for (std::size_t i = 0; i < recent.size(); ++i) {
        const QString path = pathFromEngine(recent[i]);
        m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path), this,
                                [this, path] { openRecent(path); });
    }
    m_recentMenu->setEnabled(!recent.empty());
}

void MainWindow::openRecent(const QString& path) {
    if (engineBusy()) return;
    if (m_editing) cancelEdit();
    const ProtectionSettings protectionBefore = m_session.protection();
    ErrStat err;
    {
        EngineScope scope(*this);
        openDocument(m_session, pathToEngine(path), err);
    }
    guardLockedWindows(protectionBefore);
    if (err.failed()) reportFailure(err);
    m_changed = true;
    afterEvents();
}

void MainWindow::refreshFunctionKeys() {
    const auto& labels = m_session.scratch().functionKeyLabels;
    std::string seen;
    for (int k = kFirstFunctionKey; k <= kLastFunctionKey; ++k) seen += labels[static_cast<std::size_t>(k)] + '\n';
    if (seen == m_functionKeySeen && !m_functionKeyMenu->actions().isEmpty()) return;
    m_functionKeySeen = seen;
    m_functionKeyMenu->clear();
    for (auto& [key, owner] : m_keyOwners) owner->setShortcut(QKeySequence(key));
    for (int k = kFirstFunctionKey; k <= kLastFunctionKey; ++k) {
        const std::string& label = labels[static_cast<std::size_t>(k)];
        if (blankLabel(label)) continue;
        const QString keyName = QStringLiteral("F%1").arg(k);
        const QString script = fromEngine(label).trimmed();
        // A bound key runs its script; the standard action on that key gives the key up meanwhile.
        if (auto it = m_keyOwners.find(keyName); it != m_keyOwners.end()) it->second->setShortcut(QKeySequence());
        QAction* a = m_functionKeyMenu->addAction(QStringLiteral("%1   %2").arg(keyName, script), this,
                                                  [this, script] { runScript(script); });
        a->setShortcut(QKeySequence(keyName));
    }
    if (m_functionKeyMenu->actions().isEmpty()) m_functionKeyMenu->addAction(tr("(no keys bound)"))->setEnabled(false);
}

QAction* MainWindow::commandAction(int id) const {
    auto it = m_commandActions.find(id);
    return it == m_commandActions.end() ? nullptr : it->second;
}

// ---- closing ----

bool MainWindow::mayDiscardWork() {
    bool anyChanged = false;
    for (int level = 1; level <= m_session.highestLevel(); ++level) {
        anyChanged = anyChanged || m_session.cells().levelPtr(level)->changed;
    }
    if (!anyChanged) return true;
    ErrStat err;
    bool cancelled = false;
    {
        EngineScope scope(*this);
        const WorkbookFileState& book = m_session.workbookFiles();
        cancelled = m_session.files().savePrompt(0, true, book.directory, m_session.files().workbookFileName(), err);
    }
    if (err.failed()) {
        reportFailure(err);
        return false;  // the save failed: keep the work and the program
    }
    return !cancelled;
}

bool MainWindow::handleCommitData(bool mayInteract) {
    if (m_editing) cancelEdit();
    if (!mayInteract) return true;
    if (engineBusy()) return false;
    return mayDiscardWork();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (engineBusy() || m_editing || !mayDiscardWork()) {
        event->ignore();
        return;
    }
    m_statusTimer.stop();
    event->accept();
}

}  // namespace qx
