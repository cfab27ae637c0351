#pragma once
// The body checker's state, shared by the statement and expression halves.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/err_stat.h"
#include "script/compiler/compile_error.h"
#include "script/compiler/line_reader.h"

namespace qx {

// What an operand or expression leaves in hand: whether it can be assigned to.
enum class Held { Nothing, Value, Computed, Variable, Element, Cell, Register, ReadOnlyRegister };

class BodyChecker {
  public:
    BodyChecker(std::string_view text, const std::vector<StringSpan>& strings, const std::vector<std::string>& declared,
                ErrStat& err);

    bool check();

  private:
    bool block(std::size_t open, int depth);
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // Statements.
    bool statement(std::size_t& p, int depth);
    bool ifChain(std::size_t& p, int depth);
    bool whileLoop(std::size_t& p, int depth);
    bool forLoop(std::size_t& p, int depth);
    bool condition(std::size_t& p, Origin origin, int32_t noOpen, int32_t noClose, int depth);
    bool nestedBlock(std::size_t& p, Origin origin, int32_t noOpen, int32_t noClose, int depth);

    // Expressions.
    bool expression(std::size_t& p, int minPrecedence, int depth, Held& held);
    bool prefixes(std::size_t& p, bool& any, bool& increment);
    bool operand(std::size_t& p, int depth, Held& held);
    bool conditional(std::size_t& p, int depth);
    bool number(std::size_t& p);
    bool identifier(std::size_t& p, int depth, Held& held);
    bool call(std::size_t& p, int depth);
    bool bracket(std::size_t& p, int depth, Held& held);
    bool addressParts(std::size_t& p, int depth, bool secondCorner);
    bool addressPart(std::size_t& p, int depth);
    bool rangeSegments(std::size_t& p, int depth);

    char at(std::size_t p) const { return p < m_text.size() ? m_text[p] : '\0'; }
    bool isTerminator(std::size_t p) const;
    bool startsString(std::size_t p) const;
    bool declared(std::string_view name) const;
    bool fail(Origin origin, int32_t site, CompilerMsg msg, std::size_t p) {
        return compileFailAt(m_err, origin, site, msg, std::min(p, m_text.empty() ? 0 : m_text.size() - 1));
    }

    std::string_view m_text;
    const std::vector<StringSpan>& m_strings;
    const std::vector<std::string>& m_declared;
    ErrStat& m_err;
    std::vector<std::size_t> m_partner;  // each bracket's partner, or kNone
};

}  // namespace qx
