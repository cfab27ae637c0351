#include "app/session.h"

#include <algorithm>
#include <new>

#include "app/file_commands.h"
#include "app/origins.h"
#include "core/circular.h"
#include "core/paths.h"
#include "core/property_access.h"
#include "core/settings_file.h"
#include "engineering/engineering_families.h"

namespace qx {

using namespace origins::app;
namespace {}  // namespace

SessionEngine::SessionEngine(int levelCount, AppGlobals& app, ScratchRecord& scratch, Platform& platform,
                             ProtectionSettings& protection, WorkbookFileState& workbookFiles,
                             ScriptLibraries& libraries, ToolkitState& toolkitState)
    : cells(levelCount, app.defaults.level, app.defaultDocumentDirectory, scratch),
      formulas(cells),
      recalc(formulas),
      functions(FunctionServices{cells, formulas.entry(), &platform}),
      scriptCalls(libraries, functions.services(), formulas.evaluator(), &platform),
      toolkit(toolkitState, scratch, formulas.evaluator()),
      protectionPort(protection, platform, levelCount - 1),
      fileContext{cells, formulas, platform, protectionPort, app.defaults.level},
      fileFlow(fileContext, app, workbookFiles) {
    installEngineeringFamilies(functions);
    functions.services().toolkit = &toolkit;
    functions.installFamily(FamilyId::Toolkit, toolkitFamily());
    functions.setScriptCaller(&scriptCalls);
    formulas.evaluator().setDispatcher(&functions);
    recalc.setPlatform(&platform);
}

SessionEngine::~SessionEngine() {
    functions.setScriptCaller(nullptr);
    functions.installFamily(FamilyId::Toolkit, {});
    functions.services().toolkit = nullptr;
    formulas.evaluator().setDispatcher(nullptr);  // the functions go before the formula language
}

Session::Session(Platform& platform, SessionOptions options)
    : m_platform(platform),
      m_options(std::move(options)),
      m_levelCount(clampLevelCount(m_options.levelCount)),
      m_commands(CommandTable::standard()) {}

Session::~Session() = default;

std::unique_ptr<SessionEngine> Session::makeEngine() {
    auto engine = std::make_unique<SessionEngine>(m_levelCount, m_app, m_scratch, m_platform, m_protection,
                                                  m_workbookFiles, m_libraries, m_toolkitState);
    engine->toolkit.setHost(&m_toolkitHost);
    engine->formulas.evaluator().scripts().setStoreCheck(&m_toolkitHost);
    return engine;
}

// Made when first asked for, so no accessor meets a missing part before start().
SessionEngine& Session::engine() {
    if (!m_engine) m_engine = makeEngine();
    return *m_engine;
}

bool Session::start(ErrStat& err) {
    err.enter();
    try {
        settingsInit(m_app, m_options.directories);
        if (m_options.settingsPath) {
            loadSettingsFile(*m_options.settingsPath, m_app, m_scratch, m_bars);
        } else {
            // Without a settings file the session starts as a fresh installation does.
            m_bars.installTableOptions();
        }
        // Built whole before the old engine goes: running out of memory half way leaves the old one working.
        std::unique_ptr<SessionEngine> engine = makeEngine();
        m_engine = std::move(engine);
        resetFiles();
        m_activeLevel = 1;
        m_pointer = CellPointer{};
        m_selection = CellArea{1, 1, 1, 1};
        m_capture.clear();
        attachSettingsLibraries();
    } catch (const std::bad_alloc&) {
        return err.fail(kOriginStart, 1, Msg::OutOfMemory);
    }
    return true;
}

void Session::resetFiles() {
    ResetProtection(m_protection);
    m_workbookFiles = WorkbookFileState{};
    m_workbookFiles.name = m_app.defaultWorkbookName;
    m_workbookFiles.directory = m_app.defaultDocumentDirectory;
    m_workbookFiles.currentDirectory = m_app.defaultDocumentDirectory;
}

// The libraries named by the settings, and the Swap Area size they give. A library that cannot be
// attached now is left out quietly, as a missing settings file is.
void Session::attachSettingsLibraries() {
    ErrStat err;
    for (int index : m_libraries.attached()) m_libraries.detach(index, err);
    m_libraries.resizeSwapArea(m_scratch.swapAreaSize, err);
    for (const LibraryRef& ref : m_app.libraries) m_libraries.attach(ref.file, ref.directory, err);
}

// The settings name each attached library by its resolved directory, so the next start finds it
// from any working directory.
void Session::keepLibrariesForSettings() {
    m_app.libraries.clear();
    for (int index : m_libraries.attached()) {
        const LibraryTableEntry& lib = m_libraries.library(index);
        m_app.libraries.push_back(LibraryRef{splitPath(lib.canonical).directory, lib.file});
    }
}

int Session::attachLibrary(std::string_view path, ErrStat& err) {
    const SplitPath split = splitPath(path);
    return m_libraries.attach(split.name, split.directory, err);
}

bool Session::detachLibrary(std::string_view name, ErrStat& err) {
    const int index = m_libraries.libraryNamed(name);
    if (index < 0) {
        err.enter();
        return err.fail(kOriginDetach, 1, Msg::IllegalParameter);
    }
    return m_libraries.detach(index, err);
}

CompileOutcome Session::compileSource(std::string_view path, bool writeLog) {
    SplitPath split = splitPath(path);
    return compileScript(CompileRequest{std::move(split.directory), std::move(split.name), writeLog}, m_platform,
                         [this](const std::string& canonical) {
                             for (int index : m_libraries.attached())
                                 if (m_libraries.library(index).canonical == canonical) return true;
                             return false;
                         });
}

bool Session::finish(ErrStat& err) {
    err.enter();
    if (!m_options.settingsPath || !m_app.settingsMustBeWritten) return true;
    keepLibrariesForSettings();
    if (!saveSettingsFile(*m_options.settingsPath, m_app, m_scratch, m_bars, err)) {
        err.trace(kOriginFinish);
        return false;
    }
    return true;
}

bool Session::checkPlace(int level, int row, int col, ErrStat& err) const {
    if (row < 1 || row > kMaxRow) return err.fail(kOriginMove, 1, Msg::RowOutOfRange);
    if (col < 1 || col > kMaxCol) return err.fail(kOriginMove, 2, Msg::ColumnOutOfRange);
    if (level < 0 || level > highestLevel()) return err.fail(kOriginMove, 3, Msg::LevelOutOfRange);
    return true;
}

bool Session::setActiveLevel(int level, ErrStat& err) {
    err.enter();
    if (level < 1 || level > highestLevel()) return err.fail(kOriginLevel, 1, Msg::LevelOutOfRange);
    m_activeLevel = level;
    return true;
}

bool Session::moveTo(int level, int row, int col, ErrStat& err) {
    err.enter();
    if (!checkPlace(level, row, col, err)) return false;
    if (level != 0) m_activeLevel = level;
    m_pointer = CellPointer{row, col};
    m_selection = CellArea{row, col, row, col};
    return true;
}

bool Session::select(int level, CellArea area, ErrStat& err) {
    err.enter();
    if (!checkPlace(level, area.firstRow, area.firstCol, err) || !checkPlace(level, area.lastRow, area.lastCol, err)) {
        err.trace(kOriginSelect);
        return false;
    }
    CellArea sorted{std::min(area.firstRow, area.lastRow), std::min(area.firstCol, area.lastCol),
                    std::max(area.firstRow, area.lastRow), std::max(area.firstCol, area.lastCol)};
    if (level != 0) m_activeLevel = level;
    m_selection = sorted;
    m_pointer = CellPointer{sorted.firstRow, sorted.firstCol};
    return true;
}

CommandOutcome Session::run(const Command* command, ErrStat& err) {
    err.enter();
    if (command == nullptr) return CommandOutcome::Unknown;
    // A refused command ends quietly once the box has said why.
    if (command->action != 0 && !allows(command->action)) return CommandOutcome::Done;
    try {
        return command->handler(*this, err);
    } catch (const std::bad_alloc&) {
        err.fail(kOriginDispatch, 1, Msg::OutOfMemory);
        return CommandOutcome::Failed;
    }
}

bool Session::allows(int action, int level) {
    return CheckAction(m_protection, action, level == 0 ? m_activeLevel : level, highestLevel(), m_platform);
}

CommandOutcome Session::dispatch(int id, ErrStat& err) {
    return run(m_commands.findById(id), err);
}

CommandOutcome Session::dispatch(std::string_view name, ErrStat& err) {
    return run(m_commands.findByName(name), err);
}

EntryCommit Session::commitEntry(int level, int row, int col, std::string_view text, ErrStat& err) {
    err.enter();
    if (level == 0) level = m_activeLevel;
    m_scratch.formulaErrorCaptured = false;  // a new edit starts a new error capture
    if (classifyEntry(text) == EntryKind::ShortCut) return runShortCut(level, row, col, text, err);
    // Typing over a cell edits it; typing into an empty place adds one.
    const CellRec* existing = cells().findCell(row, col, level, err);
    if (err.failed()) return EntryCommit{};
    const bool adds = existing == nullptr || existing->isPlaceholder();
    if (!allows(adds ? kActionAddCells : kActionEdit, level)) return EntryCommit{};
    if (!cellEditable(level, row, col)) return EntryCommit{};
    try {
        formulas().entry().storeEntry(text, row, col, level, EntryOptions{}, err);
        recalc().retryFailedCells();  // a committed edit may let failed cells compute again
    } catch (const std::bad_alloc&) {
        err.fail(kOriginCommit, 1, Msg::OutOfMemory);
    }
    return EntryCommit{true};
}

bool Session::cellEditable(int level, int row, int col) {
    ErrStat err;
    const CellRec* cell = cells().findCell(row, col, level, err);
    if (cell == nullptr || !cell->has(cellflag::kProtectCell)) return true;
    m_platform.messageBox("WARNING", "This cell is protected. It cannot be edited.", BoxIcon::Exclamation,
                          BoxButtons::Ok);
    return false;
}

EntryCommit Session::runShortCut(int level, int row, int col, std::string_view text, ErrStat& err) {
    // "=" followed by more writes into the cell's Array Area: that edits the cell as typing over it does.
    const bool fills = text.front() == '=' && text.find_first_not_of(' ', 1) != std::string_view::npos;
    if (fills && (!allows(kActionEdit, level) || !cellEditable(level, row, col))) return EntryCommit{};
    CellRec* current = cells().findCell(row, col, level, err);
    if (err.failed()) return EntryCommit{};
    const ShortCutResult r = formulas().shortCuts().run(m_platform, current, level, row, col, text);
    if (r.moved) moveTo(level, r.row, r.col, err);
    return EntryCommit{true, r.moved, r.row, r.col};
}

std::optional<int64_t> Session::cellProperty(int level, int row, int col, int property, int32_t value, ErrStat& err) {
    err.enter();
    if (level == 0) level = m_activeLevel;
    CellRec* cell = cells().findCell(row, col, level, err);
    if (err.failed()) return std::nullopt;
    // Reading is free; changing an attribute needs the level to allow it.
    if (value != kPropertyRead && !allows(kActionAttributes, level)) return std::nullopt;
    return qx::cellProperty(cells(), cell, property, value, [](CellRec& c) { return isCircular(c); });
}

double Session::evaluate(std::string_view text, ErrStat& err) {
    std::string buffer(text);  // the evaluator cuts its text in place while it calls functions
    Evaluator& evaluator = formulas().evaluator();
    evaluator.setDefaultLevel(m_activeLevel);
    return evaluator.evaluateFormula(nullptr, buffer.data(), err);
}

}  // namespace qx
