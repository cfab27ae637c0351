#pragma once
// A table object as a cell record carries it: the counts and title, the column and row headings,
// and the column words. Writing keeps every name inside the characters that read back.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/object_kind.h"
#include "core/table_descriptor.h"

namespace qx {

// The longest heading kept, as for any name taken from a label.
inline constexpr std::size_t kMaxTableHeading = 254;

// What the table sub-records of one cell record gave. The descriptor is built from it only when
// the finished cell is a table, so a record that is abandoned leaves nothing behind in the heap.
struct StoredTable {
    using Heading = std::pair<int64_t, std::string>;

    bool present = false;  // a well-formed counts record was read
    int64_t columns = 0;
    int64_t rows = 0;
    int64_t spare = 0;
    std::string title;
    std::vector<Heading> columnNames;
    std::vector<Heading> rowNames;              // index 0 is the corner text
    std::vector<std::optional<int64_t>> words;  // element 0 is the column count as written; empty: unreadable

    void clear();
};

// The table's records, appended to a cell record after its Array Area.
void appendTableRecords(const TableDescriptor& table, std::string& rec);

// Readers of one list token each. Each returns the character that ends the token ('}' or '|'),
// or 0 when the token does not end a list entry (an open quote included). A malformed entry that
// still ends properly is skipped, a word keeping its place: only the list's frame decides whether
// the file is readable.
char readTableCounts(std::string_view token, StoredTable& table);
char readTableHeading(std::string_view token, std::vector<StoredTable::Heading>& headings);
char readTableWord(std::string_view token, std::vector<std::optional<int64_t>>& words);

// The descriptor for `stored` in `level`'s heap, with `precision` as every column's format before
// the stored words apply. Null without a failure when the counts cannot make a table; headings
// and words outside the counts are ignored.
TableDescriptor* buildStoredTable(LevelRec& level, const StoredTable& stored, int precision, ErrStat& err);

}  // namespace qx
