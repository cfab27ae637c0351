#include "files/table_records.h"

#include <algorithm>
#include <charconv>

#include "files/origins.h"
#include "files/record_scanner.h"
#include "files/stored_integer.h"

namespace qx {

using namespace origins::files;
namespace {

// No table can hold more rows or columns than an Array Area holds values; larger counts in a
// file would only make the reader claim memory no table needs.
constexpr int64_t kMaxStoredCount = kMaxArrayElements;
constexpr std::size_t kMaxStoredWords = kMaxArrayElements + 1;

void appendInt(std::string& rec, int64_t value) {
    char buf[24];
    rec.append(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
}

void appendQuoted(std::string& rec, std::string_view text, std::size_t limit) {
    rec += '"';
    rec += storedText(text.substr(0, limit), StoredText::Quoted);
    rec += '"';
}

// Entries only for the indexes that have a name; the last index's entry closes the list itself.
template <typename NameOf>
void appendHeadings(std::string& rec, std::string_view name, int last, NameOf nameOf) {
    rec += name;
    bool closed = false;
    for (int i = 0; i <= last; ++i) {
        const std::string_view heading = nameOf(i);
        if (heading.empty()) continue;
        appendInt(rec, i);
        rec += ',';
        appendQuoted(rec, heading, kMaxTableHeading);
        closed = i == last;
        rec += closed ? '}' : '|';
    }
    if (!closed) rec += '}';
}

char listEnd(std::string_view token) {
    if (token.empty() || std::count(token.begin(), token.end(), '"') % 2 != 0) return 0;
    const char c = token.back();
    return c == '}' || c == '|' ? c : 0;
}

// The entry was read up to the character that ends its token.
bool readUpToEnd(const FieldCursor& f, std::string_view token) {
    return f.position() + 1 == token.size();
}

bool validHeading(const StoredTable::Heading& h, int64_t first, int64_t last) {
    return h.first >= first && h.first <= last;
}

bool fillStoredTable(LevelRec& level, TableDescriptor& table, const StoredTable& stored, ErrStat& err) {
    table.spare = static_cast<int32_t>(std::clamp<int64_t>(stored.spare, INT32_MIN, INT32_MAX));
    if (!setTableTitle(level, table, stored.title, err)) return false;
    for (const auto& h : stored.columnNames) {
        if (validHeading(h, 1, table.columnCount) &&
            !setColumnName(level, table, static_cast<int>(h.first), h.second, err)) {
            return false;
        }
    }
    for (const auto& h : stored.rowNames) {
        if (validHeading(h, 0, table.rowCount) && !setRowName(level, table, static_cast<int>(h.first), h.second, err)) {
            return false;
        }
    }
    // Element 0 repeats the count; a list that disagrees with the table gives what fits.
    const std::size_t words = std::min<std::size_t>(stored.words.size(), std::size_t{table.columnCount} + 1);
    for (std::size_t c = 1; c < words; ++c) {
        uint16_t word = 0;
        if (stored.words[c] && storeIfFits(word, *stored.words[c])) setColumnWord(table, static_cast<int>(c), word);
    }
    return true;
}

}  // namespace

void StoredTable::clear() {
    present = false;
    columns = rows = spare = 0;
    title.clear();
    columnNames.clear();
    rowNames.clear();
    words.clear();
}

void appendTableRecords(const TableDescriptor& table, std::string& rec) {
    rec += "Gn{";
    appendInt(rec, table.columnCount);
    rec += ',';
    appendInt(rec, table.rowCount);
    rec += ',';
    appendInt(rec, table.spare);
    const std::string_view title = tableTitle(table);
    if (!title.empty()) {
        rec += ',';
        appendQuoted(rec, title, kMaxTableTitle);
    }
    rec += '}';
    if (table.columnCount > 0) {
        appendHeadings(rec, "Gc{", table.columnCount, [&](int i) { return columnName(table, i); });
    }
    if (table.rowCount > 0) {
        appendHeadings(rec, "Gs{", table.rowCount, [&](int i) { return rowName(table, i); });
    }
    rec += "Ga{";
    appendInt(rec, table.columnCount);
    for (int c = 1; c <= table.columnCount; ++c) {
        rec += '|';
        appendInt(rec, columnWord(table, c));
    }
    rec += '}';
}

char readTableCounts(std::string_view token, StoredTable& table) {
    const char end = listEnd(token);
    FieldCursor f(token);
    StoredTable read;
    bool ok = f.readInteger(read.columns) && f.accept(',') && f.readInteger(read.rows) && f.accept(',') &&
              f.readInteger(read.spare);
    if (ok && f.accept(',')) ok = f.readQuoted(read.title, kMaxTableTitle);
    table.present = ok && end != 0 && readUpToEnd(f, token);
    if (table.present) {
        table.columns = read.columns;
        table.rows = read.rows;
        table.spare = read.spare;
        table.title = std::move(read.title);
    }
    return end;
}

char readTableHeading(std::string_view token, std::vector<StoredTable::Heading>& headings) {
    const char end = listEnd(token);
    if (end == 0 || token.size() == 1) return end;
    FieldCursor f(token);
    StoredTable::Heading h;
    if (f.readInteger(h.first) && f.accept(',') && f.readQuoted(h.second, kMaxTableHeading) && readUpToEnd(f, token)) {
        headings.push_back(std::move(h));
    }
    return end;
}

char readTableWord(std::string_view token, std::vector<std::optional<int64_t>>& words) {
    const char end = listEnd(token);
    FieldCursor f(token);
    int64_t word = 0;
    if (end != 0 && words.size() < kMaxStoredWords) {
        const bool read = f.readInteger(word) && readUpToEnd(f, token);
        words.push_back(read ? std::optional<int64_t>(word) : std::nullopt);
    }
    return end;
}

TableDescriptor* buildStoredTable(LevelRec& level, const StoredTable& stored, int precision, ErrStat& err) {
    err.enter();
    if (!stored.present || stored.columns < 0 || stored.rows < 0 || stored.columns > kMaxStoredCount ||
        stored.rows > kMaxStoredCount) {
        return nullptr;
    }
    ErrStat made;
    TableDescriptor* table =
        createTableDescriptor(level, stored.columns, stored.rows, std::clamp(precision, 0, 255), made);
    if (made.failed()) {
        if (made.is(Msg::ParameterOutOfRange)) return nullptr;
        err = made;
        return err.trace(kTableRecordsOrigin), nullptr;
    }
    if (!fillStoredTable(level, *table, stored, err)) {
        ErrStat ignored;
        freeTableDescriptor(level, table, ignored);
        return err.trace(kTableRecordsOrigin), nullptr;
    }
    return table;
}

}  // namespace qx
