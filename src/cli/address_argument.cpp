#include "cli/address_argument.h"

#include <cstdint>
#include <optional>

#include "cli/origins.h"
#include "core/cell_records.h"

namespace qx {

using namespace origins::cli;
namespace {

// Integer parts beyond this are out of every range anyway; capping keeps the arithmetic defined.
constexpr int64_t kPartCap = 1'000'000'000;

class Reader {
  public:
    Reader(std::string_view text, std::size_t pos) : m_text(text), m_pos(pos) {}

    void skipBlanks() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t')) ++m_pos;
    }
    bool take(char ch) {
        skipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == ch) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool peek(char ch) {
        skipBlanks();
        return m_pos < m_text.size() && m_text[m_pos] == ch;
    }
    // An optionally '$'-marked, optionally signed decimal literal.
    bool integer(int& value) {
        take('$');
        skipBlanks();
        bool negative = false;
        if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-')) {
            negative = m_text[m_pos] == '-';
            ++m_pos;
        }
        std::size_t start = m_pos;
        int64_t v = 0;
        while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9') {
            if (v < kPartCap) v = v * 10 + (m_text[m_pos] - '0');
            ++m_pos;
        }
        if (m_pos == start) return false;
        if (v > kPartCap) v = kPartCap;
        value = static_cast<int>(negative ? -v : v);
        return true;
    }
    bool atEnd() {
        skipBlanks();
        return m_pos >= m_text.size();
    }
    std::size_t pos() const { return m_pos; }

  private:
    std::string_view m_text;
    std::size_t m_pos;
};

void remember(std::optional<Msg>& pending, bool outOfRange, Msg code) {
    if (outOfRange && !pending) pending = code;
}

// Reads row, column and the optional element and level; the caller has consumed the opening character.
bool readParts(Reader& in, int highestLevel, AddressArgument& out, ErrStat& err) {
    std::optional<Msg> pending;
    out = AddressArgument{};
    if (!in.integer(out.row)) return err.fail(kOriginAddress, 1, Msg::IllegalCellAddress);
    remember(pending, out.row < 1 || out.row > kMaxRow, Msg::RowOutOfRange);
    if (!in.take(',')) return err.fail(kOriginAddress, 2, Msg::MissingColumn);
    if (!in.integer(out.col)) return err.fail(kOriginAddress, 3, Msg::MissingColumn);
    remember(pending, out.col < 1 || out.col > kMaxCol, Msg::ColumnOutOfRange);
    if (in.take(',')) {
        if (!in.peek(',') && !in.peek(']') && !in.peek('^')) {
            if (!in.integer(out.element)) return err.fail(kOriginAddress, 4, Msg::IllegalCellAddress);
            if (out.element < 0 || out.element > kMaxArrayElements)
                return err.fail(kOriginAddress, 5, Msg::ElementOutOfRange);
        }
        if (in.take(',')) {
            if (!in.integer(out.level)) return err.fail(kOriginAddress, 6, Msg::IllegalCellAddress);
            remember(pending, out.level < 0 || out.level > highestLevel, Msg::LevelOutOfRange);
        }
    }
    if (!in.peek(']') && !in.peek('^')) return err.fail(kOriginAddress, 7, Msg::MissingBracket);
    if (pending) return err.fail(kOriginAddress, 8, *pending);
    return true;
}

}  // namespace

bool parseAddressArgument(std::string_view text, std::size_t& pos, int highestLevel, AddressArgument& out,
                          ErrStat& err) {
    err.enter();
    Reader in(text, pos);
    if (!in.take('[')) return err.fail(kOriginAddress, 9, Msg::IllegalCellAddress);
    if (!readParts(in, highestLevel, out, err)) return false;
    if (!in.take(']')) return err.fail(kOriginAddress, 10, Msg::MissingBracket);
    pos = in.pos();
    return true;
}

bool parseAddressOnly(std::string_view text, int highestLevel, AddressArgument& out, ErrStat& err) {
    std::size_t pos = 0;
    if (!parseAddressArgument(text, pos, highestLevel, out, err)) return false;
    Reader rest(text, pos);
    if (!rest.atEnd()) return err.fail(kOriginAddress, 11, Msg::IllegalDelimiter);
    return true;
}

bool parseRangeOnly(std::string_view text, int highestLevel, AddressArgument& first, AddressArgument& second,
                    ErrStat& err) {
    err.enter();
    Reader in(text, 0);
    if (!in.take('[')) return err.fail(kOriginRange, 1, Msg::IllegalCellAddress);
    if (!readParts(in, highestLevel, first, err)) {
        err.trace(kOriginRange);
        return false;
    }
    // Either "[R1,C1]^[R2,C2]" or the formula form "[R1,C1^R2,C2]".
    bool closed = in.take(']');
    if (!in.take('^')) return err.fail(kOriginRange, 2, Msg::IllegalCellAddress);
    if (closed && !in.take('[')) return err.fail(kOriginRange, 3, Msg::IllegalCellAddress);
    if (!readParts(in, highestLevel, second, err)) {
        err.trace(kOriginRange);
        return false;
    }
    if (!in.take(']')) return err.fail(kOriginRange, 4, Msg::MissingBracket);
    if (!in.atEnd()) return err.fail(kOriginRange, 5, Msg::IllegalDelimiter);
    if (second.level == 0) second.level = first.level;
    if (first.level == 0) first.level = second.level;
    if (first.level != second.level) return err.fail(kOriginRange, 6, Msg::LevelOutOfRange);
    return true;
}

}  // namespace qx
