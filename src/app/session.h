#pragma once
// One running application: every subsystem's state, the command table, and where the user is.
// Nothing here is global, so two sessions in one process never see each other.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/attribute_commands.h"
#include "app/command_table.h"
#include "app/file_commands.h"
#include "app/session_toolkit.h"
#include "core/app_globals.h"
#include "core/button_bars.h"
#include "core/cell_records.h"
#include "core/cell_store.h"
#include "core/err_stat.h"
#include "core/scratch_record.h"
#include "edit/find_replace.h"
#include "edit/sort_rows.h"
#include "files/open_save.h"
#include "formula/formula_engine.h"
#include "functions/function_registry.h"
#include "objects/capture_buffer.h"
#include "platform/platform.h"
#include "protect/protection.h"
#include "recalc/recalc.h"
#include "script/compiler/script_compiler.h"
#include "script/runtime/script_calls.h"
#include "script/runtime/script_libraries.h"
#include "script/toolkit/toolkit.h"

namespace qx {

struct SessionOptions {
    int levelCount = kStartupLevelCount;  // clamped to 2..33; the highest level is count - 1
    SettingsInitInputs directories;       // the front end supplies them; the engine reads no environment
    // The settings file to read at start and write at the end; none means no settings file is touched.
    std::optional<std::string> settingsPath;
};

struct CellPointer {
    int row = 1;
    int col = 1;
};

// What a front end does once an entry has been committed.
struct EntryCommit {
    bool stored = false;  // the entry ran (it may still have failed: see the ErrStat); false when refused
    bool moved = false;   // a search ShortCut found a cell at row, col; the pointer is there now
    int row = 0;
    int col = 0;
};

// What the Find dialog remembers while the program runs, and Find Next repeats.
struct FindMemory {
    std::string text;
    std::string with;
    FindOptions options;
};

// The parts of a session's engine, each built on the ones above it, so the reverse order of destruction
// never leaves a part pointing at a destroyed one. A session replaces them all at once.
struct SessionEngine {
    SessionEngine(int levelCount, AppGlobals& app, ScratchRecord& scratch, Platform& platform,
                  ProtectionSettings& protection, WorkbookFileState& workbookFiles, ScriptLibraries& libraries,
                  ToolkitState& toolkitState);
    ~SessionEngine();
    SessionEngine(const SessionEngine&) = delete;
    SessionEngine& operator=(const SessionEngine&) = delete;

    CellStore cells;
    FormulaEngine formulas;
    ChainRecalculator recalc;
    FunctionRegistry functions;
    ScriptCalls scriptCalls;  // names no family knows
    Toolkit toolkit;          // the family asked first
    SessionProtectionPort protectionPort;
    FileContext fileContext;
    FileFlow fileFlow;
};

class Session {
  public:
    Session(Platform& platform, SessionOptions options);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Engine init, settings init, then the settings file when one was given. False ends start-up.
    bool start(ErrStat& err);
    // Writes the settings back when a settings file was given and they must be written.
    bool finish(ErrStat& err);

    Platform& platform() { return m_platform; }
    ScratchRecord& scratch() { return m_scratch; }
    AppGlobals& globals() { return m_app; }
    BarSet& bars() { return m_bars; }
    // The workbook. start() makes it on the settings; asked for before start(), it is made on the defaults.
    CellStore& cells() { return engine().cells; }
    // The formula language installed on the workbook.
    FormulaEngine& formulas() { return engine().formulas; }
    // Recalculation, installed on the formula language.
    ChainRecalculator& recalc() { return engine().recalc; }
    // The built-in functions, installed as the evaluator's dispatcher.
    FunctionRegistry& functions() { return engine().functions; }
    const CommandTable& commands() const { return m_commands; }
    ProtectionSettings& protection() { return m_protection; }
    // The one buffer through which objects are captured and placed.
    CaptureBuffer& capture() { return m_capture; }
    WorkbookFileState& workbookFiles() { return m_workbookFiles; }
    // The attached Script Libraries, their Script Index and the Swap Area.
    ScriptLibraries& libraries() { return m_libraries; }
    // Calls of attached scripts, installed in the function registry.
    ScriptCalls& scriptCalls() { return engine().scriptCalls; }
    // The toolkit's error number and open files live as long as the session.
    Toolkit& toolkit() { return engine().toolkit; }
    // Attaches the library at `path` ("dir/name"; ".slb" is forced). Returns its table index or
    // kAttachFailed.
    int attachLibrary(std::string_view path, ErrStat& err);
    // Detaches the library attached under this file name (or path).
    bool detachLibrary(std::string_view name, ErrStat& err);
    // Compiles the script source at `path` ("dir/name") into its library beside it, unless that library
    // is attached (then a box says so and nothing is compiled).
    CompileOutcome compileSource(std::string_view path, bool writeLog);
    // Opening, saving, clearing and renaming.
    FileFlow& files() { return engine().fileFlow; }

    int levelCount() const { return m_levelCount; }
    int highestLevel() const { return m_levelCount - 1; }

    int activeLevel() const { return m_activeLevel; }
    CellPointer pointer() const { return m_pointer; }
    // Never empty: without a selection it is the pointer's cell.
    CellArea selection() const { return m_selection; }

    bool setActiveLevel(int level, ErrStat& err);
    // Level 0 means the active level.
    bool moveTo(int level, int row, int col, ErrStat& err);
    bool select(int level, CellArea area, ErrStat& err);

    // Whether the level (0: the active one) allows the protected action; a refusal shows the
    // "Protected Operation" box.
    bool allows(int action, int level = 0);

    CommandOutcome dispatch(int id, ErrStat& err);
    CommandOutcome dispatch(std::string_view name, ErrStat& err);

    // The operations both front ends offer besides commands. Level 0 means the active level.

    // Text typed for a place, committed as the edit bar does: the level must allow editing the cell (or
    // adding one where there is none), ShortCut Commands run, anything else is entered, and then failed
    // cells get another try. A refusal shows its box and changes nothing.
    EntryCommit commitEntry(int level, int row, int col, std::string_view text, ErrStat& err);
    // Whether the cell at the place may be edited; a "Protect Cell" cell shows "This cell is protected.
    // It cannot be edited." and refuses. The level's own permission is asked separately.
    bool cellEditable(int level, int row, int col);
    // Applies an attribute change to the selection of the active level once the level allows attribute
    // changes (the refusal shows its box): cell marks on the cells there, border and background ranges
    // over the whole selection. `colour` (0x00BBGGRR) is AddBackground's. Sets repaint-pending and the
    // level's changed mark when something changed; false when refused.
    bool changeAttributes(AttributeChange change, uint32_t colour = 0);
    // Reads cell property `property` of a place, or writes `value` first unless it is kPropertyRead;
    // writing needs the level to allow attribute changes. None when the place is refused or out of range.
    std::optional<int64_t> cellProperty(int level, int row, int col, int property, int32_t value, ErrStat& err);
    // Evaluates text as a formula of no cell; addresses without a level name the active level.
    double evaluate(std::string_view text, ErrStat& err);

    // The Edit and Tools commands that take the values of their dialogs. Each acts on the active level
    // and selection, asks the level's permission first and shows its own boxes.

    // Sorts the selection's rows by up to three keys; a failure shows "Could not sort rows as requested.".
    bool sortRows(std::span<const RowSortKey> keys, ErrStat& err);
    // Searches the active level from next to the pointer; a match becomes the pointer (and the
    // selection). The search is remembered for findNext and the dialog's next start.
    FoundCell find(const FindOptions& options, std::string_view text);
    FoundCell findNext();
    const FindMemory& lastFind() const { return m_find; }
    // Replaces every `find` in the pointer's cell by `with` and enters the result as typed, so an
    // invalid result fails like any entry. False when refused, failed or nothing changed.
    bool replaceFound(std::string_view find, std::string_view with, ErrStat& err);
    // Gives the selection's Formula cells Array Areas of n (0..8191) elements, 0 removing them; `warn`
    // reports other cells and asks before changing an existing size.
    bool arraySize(int n, bool warn, ErrStat& err);
    // The elements (1..n) of the one selected cell for the set-elements dialog to edit, after its checks;
    // none once a box has said why not.
    std::optional<std::vector<double>> arrayElements();
    // Writes values into elements 1.. of the one selected cell; fewer values leave the rest.
    bool arraySet(std::span<const double> values, ErrStat& err);

  private:
    void resetFiles();
    void attachSettingsLibraries();
    void keepLibrariesForSettings();
    SessionEngine& engine();
    std::unique_ptr<SessionEngine> makeEngine();
    EntryCommit runShortCut(int level, int row, int col, std::string_view text, ErrStat& err);
    bool checkPlace(int level, int row, int col, ErrStat& err) const;
    CommandOutcome run(const Command* command, ErrStat& err);

    Platform& m_platform;
    SessionOptions m_options;
    int m_levelCount;
    AppGlobals m_app;
    ScratchRecord m_scratch;
    BarSet m_bars;
    CommandTable m_commands;
    ProtectionSettings m_protection;
    CaptureBuffer m_capture;
    WorkbookFileState m_workbookFiles;
    ScriptLibraries m_libraries{m_platform, m_scratch};
    ToolkitState m_toolkitState;
    SessionToolkitHost m_toolkitHost{*this};
    // Last: it refers to the members above and so goes first.
    std::unique_ptr<SessionEngine> m_engine;
    int m_activeLevel = 1;
    CellPointer m_pointer;
    CellArea m_selection{1, 1, 1, 1};
    FindMemory m_find;
};

}  // namespace qx
