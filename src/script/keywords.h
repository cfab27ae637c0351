#pragma once
// The statement keywords, shared by the compiler's checks and the statement runner so that both read a
// body the same way.
#include <array>
#include <string_view>
#include <utility>

namespace qx {

enum class Keyword { None, If, Else, ElseIf, For, While, Break, Continue, Return };

// The keyword that a whole run of lower-case letters is, or None: a statement starts with a keyword only
// when its whole letter run is one, so "if_" starts an if and "continuex();" is a call.
inline Keyword keywordOf(std::string_view letterRun) {
    constexpr std::array<std::pair<std::string_view, Keyword>, 8> kKeywords{{
        {"if", Keyword::If},
        {"else", Keyword::Else},
        {"elseif", Keyword::ElseIf},
        {"for", Keyword::For},
        {"while", Keyword::While},
        {"break", Keyword::Break},
        {"continue", Keyword::Continue},
        {"return", Keyword::Return},
    }};
    for (const auto& [word, keyword] : kKeywords) {
        if (letterRun == word) return keyword;
    }
    return Keyword::None;
}

}  // namespace qx
