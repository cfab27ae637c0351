#pragma once
// The toolkit: the functions through which scripts read and change the worksheet, text files and
// messages. Most failures do not stop the script: they leave a number in the toolkit error number and
// return a neutral value; only malformed calls fail the expression.
#include <array>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "core/cell_records.h"
#include "core/err_stat.h"
#include "core/scratch_record.h"
#include "functions/function_registry.h"

namespace qx {

class Evaluator;
class FunctionCall;

constexpr int kToolkitFileSlots = 4;
constexpr int32_t kScriptErrorMin = -30000;
// "errno" reports a run-time library error as its number plus this.
constexpr int32_t kLibraryErrorBase = 1000;

// The toolkit's open text files, in slots 1..4. They stay open between script calls until "fclose" or
// the end of the session.
class ToolkitFiles {
  public:
    ToolkitFiles() = default;
    ~ToolkitFiles() { closeAll(); }
    ToolkitFiles(const ToolkitFiles&) = delete;
    ToolkitFiles& operator=(const ToolkitFiles&) = delete;

    // The first empty slot now holds `file`; 0 (and `file` untouched) when every slot is in use.
    int put(std::FILE* file);
    // The file of slot 1..4, or none.
    std::FILE* file(int slot) const;
    // Empties the slot; false when it was empty or the close failed (the slot is emptied either way).
    bool close(int slot);
    void closeAll();

  private:
    std::array<std::FILE*, kToolkitFileSlots> m_slots{};
};

// What the toolkit keeps in the session between script calls besides the error number.
struct ToolkitState {
    ToolkitFiles files;
    // The run-time library's error number, kept when a toolkit file operation fails: the C library's own
    // changes with every call anywhere in the program.
    int libraryError = 0;
};

// The session's side of the toolkit: the windows, the protection and the file flow, which live above
// the script layer.
struct ToolkitPlace {
    int row = 1;
    int col = 1;
    int level = 1;
};

struct ToolkitSelection {
    int level = 1;
    int firstRow = 1;
    int firstCol = 1;
    int lastRow = 1;
    int lastCol = 1;
};

// What a script asks the level's password protection for; the numbers are the permission bits.
enum class ScriptAction : int {
    MovePointer = 1,
    Edit = 2,
    Attributes = 3,
    Layout = 4,
    AddCells = 5,
    CopyOrReport = 8,
    SaveLevel = 9,
};

class ToolkitHost {
  public:
    virtual ~ToolkitHost() = default;
    virtual int highestLevel() const = 0;
    virtual int activeLevel() const = 0;
    // Whether the level's password protection lets a script perform the action; refusals show nothing.
    virtual bool scriptMay(ScriptAction action, int level) = 0;
    // The cell pointer and the selection of the active worksheet window.
    virtual ToolkitPlace pointer() = 0;
    virtual void moveTo(int level, int row, int col) = 0;
    virtual ToolkitSelection selection() = 0;
    // Redraws the active worksheet window.
    virtual void refresh() = 0;
    // The area as the text export lays it out, lines of `width` characters, each ending in '\n'.
    virtual std::string reportText(int level, const CellArea& area, int width) = 0;
    // Saves the level (".qx2") or the workbook (".qx3") under the path; loads one into the level (or the
    // workbook); clears the level (0: the workbook) without asking. False on failure, with its code.
    virtual bool saveWork(const std::string& path, int level, ErrStat& err) = 0;
    virtual bool loadWork(const std::string& path, int level, ErrStat& err) = 0;
    virtual bool clearWork(int level, ErrStat& err) = 0;
};

class Toolkit {
  public:
    Toolkit(ToolkitState& state, ScratchRecord& scratch, Evaluator& evaluator)
        : m_state(state), m_scratch(scratch), m_evaluator(evaluator) {}

    void setHost(ToolkitHost* host) { m_host = host; }
    ToolkitHost* host() const { return m_host; }
    ToolkitState& state() { return m_state; }
    Evaluator& evaluator() { return m_evaluator; }

    // The number "errno" reports: the toolkit's own, or when that is 0 a kept run-time library error
    // plus kLibraryErrorBase.
    int32_t errorNumber() const;
    void setErrorNumber(int32_t number) { m_scratch.toolkitError = number; }
    void setError(Msg code) { m_scratch.toolkitError = codeOf(code); }
    // Sets the error number and returns `result`, for `return tk.refuse(...)`.
    double refuse(Msg code, double result = 0.0) {
        setError(code);
        return result;
    }
    // Turns the failure in `err` into the error number and forgets it: the script goes on.
    double refuseFailure(ErrStat& err);
    // Keeps the C library's error number after a failed file operation.
    void keepLibraryError(int number) { m_state.libraryError = number; }
    void clearErrors();

    // Whether a running script's frame holds the cell's Array Area: a script does not free, resize or move
    // an area that a running script reads as its array.
    bool arrayBound(const CellRec* cell) const;
    // The same for any cell of a level (0: every level).
    bool levelBound(CellStore& store, int level) const;

  private:
    ToolkitState& m_state;
    ScratchRecord& m_scratch;
    Evaluator& m_evaluator;
    ToolkitHost* m_host = nullptr;
};

// The toolkit's table, in byte order; a function's number is its position.
std::span<const FunctionEntry> toolkitFamily();

// The text "errlist" gives for an error number: the run-time library's message above
// kLibraryErrorBase (its "System Level Error: N" form when the target holds fewer than 95 characters),
// the general message for 1..1000, "no error" otherwise.
std::string errorListText(int32_t number, int targetSize);

}  // namespace qx
