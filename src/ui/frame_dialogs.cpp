#include "ui/frame_dialogs.h"

#include <QColorDialog>
#include <QStatusBar>

#include "app/session.h"
#include "core/app_globals.h"
#include "core/area_ranges.h"
#include "core/attributes.h"
#include "core/formula_flags.h"
#include "display/cell_display.h"
#include "display/display_format.h"
#include "ui/dialogs/array_dialogs.h"
#include "ui/dialogs/find_dialog.h"
#include "ui/dialogs/function_dialog.h"
#include "ui/dialogs/insert_dialogs.h"
#include "ui/dialogs/level_defaults_dialog.h"
#include "ui/dialogs/protection_dialog.h"
#include "ui/dialogs/rename_dialog.h"
#include "ui/dialogs/script_dialogs.h"
#include "ui/dialogs/sort_rows_dialog.h"
#include "ui/main_window.h"
#include "ui/qt_platform.h"

namespace qx {
namespace {

constexpr int kLabelCommand = 545;
constexpr int kAddressCommand = 546;
constexpr int kFunctionCommand = 547;
constexpr int kBracketsCommand = 548;
constexpr int kListCommand = 590;
constexpr int kViewCommand = 591;
constexpr int kRenameWorkbookCommand = 9016;
constexpr int kRenameWorksheetCommand = 9017;
constexpr int kFindCommand = 543;
constexpr int kSortRowsCommand = 9030;
constexpr int kArraySizeCommand = 9032;
constexpr int kArrayElementsCommand = 9033;
constexpr int kAddBackgroundCommand = 4255;

// An element shown as its cell shows its value: the cell's display format and precision.
std::function<QString(double)> elementText(Session& session, const CellRec& cell, int row, int col, int level) {
    NumberFormat format;
    format.code = formulaflag::displayFormat(cell.formula->flags);
    // A point format or a drawing display has no number text of its own.
    if (!isValidDisplayCode(format.code)) format.code = static_cast<int>(DisplayCode::Decimal);
    format.precision = effectivePrecision(session.cells(), &cell, row, col, level);
    format.width = kMaxPlainValueWidth;
    format.justify = Justify::Left;
    format.millennium = session.platform().now().year / 1000 * 1000;
    return [format](double v) {
        ErrStat err;
        const std::string text = formatNumber(v, format, err);
        return fromEngine(trimBlanks(text));
    };
}

}  // namespace

FrameDialogs::FrameDialogs(MainWindow& frame, Session& session, QtPlatform& platform)
    : QObject(&frame), m_frame(frame), m_session(session), m_platform(platform) {}

void FrameDialogs::addMenuEntries(QMenu* view, QMenu* tools) {
    m_addButton = view->addAction(QStringLiteral("Add (deleted) a Button ..."), this, &FrameDialogs::openAddButton);
    m_barMenu = view->addAction(QStringLiteral("Add (deleted) a Button Bar ..."), this, &FrameDialogs::openBarMenu);
    tools->addSeparator();
    m_levelDefaults = tools->addAction(tr("Level defaults ..."), this, &FrameDialogs::openLevelDefaults);
    m_protection = tools->addAction(QStringLiteral("Workbook Protection ..."), this, &FrameDialogs::openProtection);
    m_scripts = tools->addAction(tr("Script Libraries ..."), this, &FrameDialogs::openScripts);
}

bool FrameDialogs::runCommand(int id) {
    switch (id) {
        case kFunctionCommand:
            insertFunction();
            return true;
        case kLabelCommand:
            insertLabel();
            return true;
        case kAddressCommand:
            insertAddress();
            return true;
        case kBracketsCommand:
            insertBrackets();
            return true;
        case kListCommand:
            openList();
            return true;
        case kViewCommand:
            openView();
            return true;
        case kRenameWorkbookCommand:
            rename(0);
            return true;
        case kRenameWorksheetCommand:
            rename(m_session.activeLevel());
            return true;
        case kFindCommand:
            openFind();
            return true;
        case kSortRowsCommand:
            openSortRows();
            return true;
        case kArraySizeCommand:
            openArraySize();
            return true;
        case kArrayElementsCommand:
            openArrayElements();
            return true;
        case kAddBackgroundCommand:
            chooseBackground();
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

void FrameDialogs::openScripts() {
    if (m_frame.engineBusy()) return;
    ScriptLibraryDialog dialog(
        m_session, m_platform, [this](const std::function<void(ErrStat&)>& op) { return m_frame.runOperation(op); },
        &m_frame);
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

bool FrameDialogs::readyForInsert() {
    if (m_frame.engineBusy()) return false;
    return m_frame.editing() || m_frame.startEditing(QString(), true);
}

void FrameDialogs::insertAtCaret(const QString& text) {
    if (!m_frame.editing()) return;
    if (!text.isEmpty()) m_frame.editBar()->insert(text);
    m_frame.editBar()->setFocus();
}

void FrameDialogs::insertFunction() {
    if (!readyForInsert()) return;
    FunctionDialog dialog(m_session.functions(), &m_frame);
    const bool inserted = dialog.exec() == QDialog::Accepted && !dialog.insertion().isEmpty();
    insertAtCaret(inserted ? dialog.insertion() : QString());
}

void FrameDialogs::insertLabel() {
    if (!readyForInsert()) return;
    const std::vector<LevelLabel> labels = levelLabels(m_session.cells(), m_frame.editLevel());
    if (labels.empty()) {
        m_frame.statusBar()->showMessage(tr("This level has no labels."), 3000);
        return insertAtCaret(QString());
    }
    InsertListDialog dialog(tr("Insert a label"), InsertListDialog::labelChoices(labels), &m_frame);
    const bool chosen = dialog.exec() == QDialog::Accepted && dialog.chosen() != nullptr;
    insertAtCaret(chosen ? labelInsertion(m_frame.editBar()->text(), dialog.chosen()->inserted) : QString());
}

void FrameDialogs::insertAddress() {
    if (!readyForInsert()) return;
    const CellAreaView* area = m_frame.activeCellArea();
    const int level = m_frame.editLevel();
    AddressDialog dialog(area ? area->cursor().row : 1, area ? area->cursor().col : 1, level, m_session.highestLevel(),
                         &m_frame);
    const bool chosen = dialog.exec() == QDialog::Accepted;
    insertAtCaret(chosen ? addressInsertion(dialog.row(), dialog.col(), dialog.level(), level) : QString());
}

void FrameDialogs::insertBrackets() {
    if (!readyForInsert()) return;
    insertBracketPair(*m_frame.editBar());
    m_frame.editBar()->setFocus();
}

void FrameDialogs::openList() {
    if (m_frame.engineBusy()) return;
    const int level = m_frame.editing() ? m_frame.editLevel() : m_frame.activeLevel();
    std::vector<InsertListDialog::Choice> choices =
        InsertListDialog::labelChoices(levelLabels(m_session.cells(), level));
    for (InsertListDialog::Choice& c : InsertListDialog::functionChoices(m_session.functions())) {
        choices.push_back(std::move(c));
    }
    InsertListDialog dialog(tr("Labels and functions"), std::move(choices), &m_frame);
    if (dialog.exec() != QDialog::Accepted || dialog.chosen() == nullptr) return;
    const InsertListDialog::Choice choice = *dialog.chosen();
    if (!readyForInsert()) return;
    insertAtCaret(choice.label ? labelInsertion(m_frame.editBar()->text(), choice.inserted) : choice.inserted);
}

void FrameDialogs::openView() {
    if (m_frame.engineBusy()) return;
    const CellAreaView* area = m_frame.activeCellArea();
    QString place = area ? addressInsertion(area->cursor().row, area->cursor().col, area->level(), 1) : QString();
    EntryViewDialog dialog(place, m_frame.editBar()->text(), &m_frame);
    dialog.exec();
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

// The block commands' dialogs work on the pointer and selection of the cell area, not on an entry.
bool FrameDialogs::readyForBlockCommand() {
    if (m_frame.engineBusy()) return false;
    if (m_frame.editing()) m_frame.cancelEdit();
    m_frame.syncSessionFromArea();
    return true;
}

void FrameDialogs::openFind() {
    if (!readyForBlockCommand()) return;
    FindDialog::Actions actions;
    actions.find = [this](const FindOptions& options, const QString& text) {
        FoundCell hit;
        m_frame.runOperation([&](ErrStat&) { hit = m_session.find(options, toEngine(text)); });
        return hit;
    };
    actions.replace = [this](const QString& find, const QString& with) {
        bool replaced = false;
        m_frame.runOperation(
            [&](ErrStat& err) { replaced = m_session.replaceFound(toEngine(find), toEngine(with), err); });
        return replaced;
    };
    FindDialog dialog(m_session.lastFind(), std::move(actions), &m_frame);
    dialog.exec();
}

void FrameDialogs::openSortRows() {
    if (!readyForBlockCommand()) return;
    {
        MainWindow::EngineScope scope(m_frame);
        if (!m_session.allows(kActionSortRows)) return;
    }
    SortRowsDialog dialog(m_session.selection(), &m_frame);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::vector<RowSortKey> keys = dialog.keys();
    m_frame.runOperation([&](ErrStat& err) {
        m_session.sortRows(keys, err);
        err.clear();  // a failed sort has shown its own box
    });
}

void FrameDialogs::openArraySize() {
    if (!readyForBlockCommand()) return;
    {
        MainWindow::EngineScope scope(m_frame);
        if (!m_session.allows(kActionEdit)) return;
    }
    ArraySizeDialog dialog(m_platform, &m_frame);
    if (dialog.exec() != QDialog::Accepted || !dialog.size()) return;
    m_frame.runOperation([&](ErrStat& err) { m_session.arraySize(*dialog.size(), dialog.warnings(), err); });
    m_session.scratch().repaintPending = true;
    m_frame.afterEvents();
}

void FrameDialogs::openArrayElements() {
    if (!readyForBlockCommand()) return;
    std::optional<std::vector<double>> elements;
    {
        MainWindow::EngineScope scope(m_frame);
        elements = m_session.arrayElements();
    }
    if (!elements) return;
    const int level = m_session.activeLevel();
    const CellPointer at = m_session.pointer();
    ErrStat err;
    const CellRec* cell = m_session.cells().findCell(at.row, at.col, level, err);
    if (cell == nullptr || cell->formula == nullptr) return;
    ArrayElementsDialog::Conversions conversions;
    conversions.show = elementText(m_session, *cell, at.row, at.col, level);
    conversions.read = [this](const QString& text) -> std::optional<double> {
        double value = 0.0;
        if (!m_frame.runOperation([&](ErrStat& e) { value = m_session.evaluate(toEngine(text), e); })) {
            return std::nullopt;
        }
        return value;
    };
    ArrayElementsDialog dialog({at.row, at.col, level}, std::move(*elements), std::move(conversions), &m_frame);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::vector<double> values = dialog.elements();
    m_frame.runOperation([&](ErrStat& e) { m_session.arraySet(values, e); });
    m_session.scratch().repaintPending = true;
    m_frame.afterEvents();
}

void FrameDialogs::chooseBackground() {
    if (!readyForBlockCommand()) return;
    {
        MainWindow::EngineScope scope(m_frame);
        if (!m_session.allows(kActionAttributes)) return;
    }
    // The dialog starts from the colour the pointer's cell shows.
    uint32_t current = m_session.cells().levelPtr(m_session.activeLevel())->defaults.background;
    const CellPointer at = m_session.pointer();
    for (const ColourRange& r : m_session.cells().levelPtr(m_session.activeLevel())->colourRanges) {
        if (r.area.contains(at.row, at.col)) current = r.colour;
    }
    QColorDialog dialog(colourFromWord(current), &m_frame);
    dialog.setWindowTitle(tr("Background colour"));
    if (dialog.exec() != QDialog::Accepted) return;
    const uint32_t colour = colourWord(dialog.selectedColor());
    m_frame.runOperation([&](ErrStat&) { m_session.changeAttributes(AttributeChange::AddBackground, colour); });
}

}  // namespace qx
