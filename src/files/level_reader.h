#pragma once
// Reading level record streams back into levels, and what follows once a whole file is in:
// dependency links, the cells left for recalculation, and the Range Operation question.
#include <memory>
#include <span>
#include <vector>

#include "files/load_context.h"

namespace qx {

// Reader points beyond the designed ones.
inline constexpr int32_t kReadPointReferenceList = 13;
inline constexpr int32_t kReadPointNoEnd = 22;
inline constexpr int32_t kReadPointNotEmpty = 2;

inline constexpr int kRangeQuestionThreshold = 10;

// Clears the level and gives it the starting settings; its name and directory stay.
void resetLevel(CellStore& store, int level, const LevelDefaults& defaults);

// What one load (a level file, or every level of a workbook) gathered.
struct LoadTally {
    std::vector<int> levels;
    int rangeCells = 0;
};

class LevelReader {
  public:
    // `convert`: stored formulas may keep their stored values and references (false for clear-text files).
    LevelReader(FileContext& ctx, TokenSource& tokens, bool convert);
    ~LevelReader();
    LevelReader(const LevelReader&) = delete;
    LevelReader& operator=(const LevelReader&) = delete;

    // Reads one stream into the empty `level` up to its "Xe". False on failure (cells read so far stay);
    // `cancelled` when the newer-version question was declined (the level is cleared again).
    bool read(int level, LoadTally& tally, bool& cancelled, ErrStat& err);

  private:
    struct Pending;
    bool record(const Token& token, bool& ended, bool& cancelled, ErrStat& err);
    bool settingRecord(FieldCursor& f, bool& cancelled, ErrStat& err);
    bool rangeRecord(char kind, ErrStat& err);
    bool sizeRecord(char kind, ErrStat& err);
    bool viewRecord(ErrStat& err);
    bool fontRecord(ErrStat& err);
    bool cellFields(std::string_view text, ErrStat& err);
    bool referenceList(ErrStat& err);
    bool arrayArea(FieldCursor& f, ErrStat& err);
    bool tableRecord(FieldCursor& f, ErrStat& err);
    bool tableObject(CellRec& cell, ErrStat& err);
    bool completeCell(std::string_view text, ErrStat& err);
    bool formulaCell(CellRec& cell, std::string_view text, ErrStat& err);
    bool keepStoredForm(CellRec& cell, const std::string& compiled, ErrStat& err);
    bool listToken(Token& token);
    bool fail(int point, ErrStat& err);

    FileContext& m_ctx;
    TokenSource& m_tokens;
    bool m_convert;
    int m_level = 0;
    LoadTally* m_tally = nullptr;
    std::unique_ptr<Pending> m_pending;
};

// Ends a load: rebuilds the dependents of every loaded level from their reference lists, brings the
// cells left for recalculation up to date, and asks once whether more than 10 Range Operation
// cells are to be recomputed. Modified marks are cleared. An incomplete load asks nothing and leaves
// the Range Operation cells as read.
void finishLoad(FileContext& ctx, const LoadTally& tally, bool complete);

// A level file read into `level`, which must be empty. The reader is already open on the file.
// Returns false on failure; `cancelled` when the user declined or protection refused the cells.
bool readLevelFile(FileContext& ctx, BlockReader& reader, int level, bool& cancelled, ErrStat& err);

}  // namespace qx
