#include "ui/frame_dialogs.h"

#include "app/session.h"
#include "core/app_globals.h"
#include "core/attributes.h"
#include "ui/dialogs/function_dialog.h"
#include "ui/dialogs/level_defaults_dialog.h"
#include "ui/dialogs/protection_dialog.h"
#include "ui/dialogs/rename_dialog.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"

namespace qx {
namespace {

constexpr int kFunctionCommand = 547;
constexpr int kRenameWorkbookCommand = 9016;
constexpr int kRenameWorksheetCommand = 9017;

}  // namespace

FrameDialogs::FrameDialogs(MainWindow& frame, Session& session, QtPlatform& platform)
    : QObject(&frame), m_frame(frame), m_session(session), m_platform(platform) {}

void FrameDialogs::addMenuEntries(QMenu* view, QMenu* tools) {
    m_addButton = view->addAction(QStringLiteral("Add (deleted) a Button ..."), this, &FrameDialogs::openAddButton);
    m_barMenu = view->addAction(QStringLiteral("Add (deleted) a Button Bar ..."), this, &FrameDialogs::openBarMenu);
    tools->addSeparator();
    m_levelDefaults = tools->addAction(tr("Level defaults ..."), this, &FrameDialogs::openLevelDefaults);
    m_protection = tools->addAction(QStringLiteral("Workbook Protection ..."), this, &FrameDialogs::openProtection);
}

bool FrameDialogs::runCommand(int id) {
    switch (id) {
        case kFunctionCommand:
            insertFunction();
            return true;
        case kRenameWorkbookCommand:
            rename(0);
            return true;
        case kRenameWorksheetCommand:
            rename(m_session.activeLevel());
            return true;
        default:
            return false;
    }
}

void FrameDialogs::openAddButton() {
    if (m_frame.engineBusy()) return;
    if (m_recording) {
        m_recording->raise();
        m_recording->activateWindow();
        return;
    }
    const ButtonBar* shown = m_session.bars().shownBar();
    if (shown == nullptr || shown->isDefault()) {
        m_platform.messageBox("WARNING!", "This is one of the DEFAULT Button Bars - it cannot be modified.",
                              BoxIcon::Exclamation, BoxButtons::Ok);
        return;
    }
    auto* dialog = new AddButtonDialog(m_session.bars(), m_session.commands(), m_platform, &m_frame);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_recording = dialog;
    connect(dialog, &AddButtonDialog::barChanged, &m_frame, &MainWindow::refreshBars);
    // Closing the dialog ends recording mode.
    connect(dialog, &QDialog::finished, this, [this] {
        m_frame.setCommandDiverter({});
        m_barMenu->setEnabled(true);
    });
    m_frame.setCommandDiverter([dialog](const Command& c) { return dialog->record(c); });
    // The bar being recorded must not be deleted under the dialog.
    m_barMenu->setEnabled(false);
    dialog->show();
}

void FrameDialogs::openBarMenu() {
    if (m_frame.engineBusy() || m_recording) return;
    BarMenuDialog dialog(m_session.bars(), m_platform, &m_frame);
    connect(&dialog, &BarMenuDialog::barsChanged, &m_frame, &MainWindow::refreshBars);
    dialog.exec();
    // "Edit mode" chosen in the dialog only showed its bar; outside editing the standard bar is shown.
    const ButtonBar* shown = m_session.bars().shownBar();
    if (shown && shown->name == kEditModeName && !m_frame.editing()) m_session.bars().showBar(kStandardModeName);
    m_frame.refreshBars();
}

void FrameDialogs::openProtection() {
    if (m_frame.engineBusy()) return;
    std::vector<ProtectionLevelInfo> levels(1);
    for (int level = 1; level <= m_session.highestLevel(); ++level) {
        levels.push_back({m_session.cells().levelPtr(level)->defaultFileName, m_session.cells().levelEmpty(level)});
    }
    ProtectionDialog dialog(m_session.protection(), std::move(levels), m_platform, &m_frame);
    dialog.exec();
}

void FrameDialogs::openLevelDefaults() {
    if (m_frame.engineBusy()) return;
    const int level = m_session.activeLevel();
    {
        MainWindow::EngineScope scope(m_frame);
        if (!m_session.allows(kActionAttributes, level)) return;
    }
    LevelRec* rec = m_session.cells().levelPtr(level);
    if (rec == nullptr) return;
    LevelDefaultsDialog dialog(level, rec->defaults, &m_frame);
    if (dialog.exec() != QDialog::Accepted) return;
    changeLevelDefaults(*rec, dialog.defaults());
    m_session.scratch().repaintPending = true;
    m_frame.afterEvents();
}

void FrameDialogs::insertFunction() {
    if (m_frame.engineBusy()) return;
    if (!m_frame.editing() && !m_frame.startEditing(QString(), true)) return;
    FunctionDialog dialog(m_session.functions(), &m_frame);
    const bool inserted = dialog.exec() == QDialog::Accepted && !dialog.insertion().isEmpty();
    if (inserted && m_frame.editing()) m_frame.editBar()->insert(dialog.insertion());
    if (m_frame.editing()) m_frame.editBar()->setFocus();
}

void FrameDialogs::rename(int level) {
    if (m_frame.engineBusy()) return;
    const LevelRec* rec = level == 0 ? nullptr : m_session.cells().levelPtr(level);
    if (level != 0 && rec == nullptr) return;
    const QString current =
        fromEngine(level == 0 ? m_session.workbookFiles().name : withoutExtension(rec->defaultFileName));
    RenameDialog dialog(level == 0, current, m_platform, &m_frame);
    if (dialog.exec() != QDialog::Accepted) return;
    {
        MainWindow::EngineScope scope(m_frame);
        m_session.files().rename(level, toEngine(dialog.name()));
    }
    m_session.scratch().repaintPending = true;
    m_frame.afterEvents();
}

}  // namespace qx
