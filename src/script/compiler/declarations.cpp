#include "script/compiler/declarations.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "script/compiler/compile_error.h"
#include "script/compiler/origins.h"

namespace qx {

using namespace origins::script_compiler;

namespace {

enum class DataType { None, Value, Chr, Cell };

// One row of codes: the prefix and how many names it has given out.
struct CodeRow {
    const char* prefix;
    int count = 0;
    std::string next() { return prefix + std::to_string(++count); }
};

struct Sites {
    int32_t twoTypes;
    int32_t noType;
    int32_t badType;
};

constexpr Sites kPassedInSites{28, 40, 46};
constexpr Sites kLocalSites{42, 41, 47};

bool isWordEnd(char c) {
    return c == ',' || c == ';' || c == ')' || c == '{' || c == '[' || c == ':';
}

// Reads "[n]" at `at`; an empty pair of brackets is dimension 1.
bool readDimension(std::string_view text, std::size_t& at, int& dimension, ErrStat& err) {
    const std::size_t close = text.find(']', at);
    if (close == std::string_view::npos)
        return compileFail(err, kDeclarationWordStep, 1, CompilerMsg::ParameterListSyntax);
    const std::string_view inside = text.substr(at + 1, close - at - 1);
    at = close + 1;
    if (inside.empty()) {
        dimension = 1;
        return true;
    }
    std::size_t digits = 0;
    long value = 0;
    while (digits < inside.size() && std::isdigit(static_cast<unsigned char>(inside[digits])) != 0) {
        value = std::min(value * 10 + (inside[digits] - '0'), 100000L);
        ++digits;
    }
    if (digits == 0 || digits < inside.size()) {
        return compileFail(err, kDeclarationWordStep, 4, CompilerMsg::ParameterListSyntax);
    }
    if (value < 1) return compileFail(err, kDeclarationWordStep, 2, CompilerMsg::ParameterListSyntax);
    if (value > kMaxDimension) return compileFail(err, kDeclarationWordStep, 3, CompilerMsg::DimensionTooLarge);
    dimension = static_cast<int>(value);
    return true;
}

bool validName(std::string_view name) {
    return !name.empty() && isScriptNameStart(name[0]) && std::all_of(name.begin(), name.end(), isScriptNameChar);
}

class DeclarationParser {
  public:
    explicit DeclarationParser(Declarations& out) : m_out(out) {}

    bool passedIn(std::string_view text, ErrStat& err) {
        // Between the parentheses of "(...)".
        return words(text.substr(1, text.size() - 2), false, err);
    }
    bool locals(std::string_view text, ErrStat& err) { return words(text, true, err); }

    void finish() {
        m_out.signature = "(";
        for (std::size_t i = 0; i < m_kinds.size(); ++i) {
            if (i > 0) m_out.signature += ',';
            m_out.signature += m_kinds[i];
        }
        m_out.signature += ')';
        m_out.localList = list(m_valueDims) + ',' + list(m_chrDims);
    }

  private:
    static std::string list(const std::vector<int>& dims) {
        std::string text = std::to_string(dims.size());
        for (int d : dims) text += ',' + std::to_string(d);
        return text;
    }

    bool words(std::string_view text, bool local, ErrStat& err) {
        const Sites& sites = local ? kLocalSites : kPassedInSites;
        DataType type = DataType::None;
        bool lastWasType = false;
        std::size_t at = 0;
        while (at < text.size()) {
            std::size_t end = at;
            while (end < text.size() && !isWordEnd(text[end])) ++end;
            const std::string_view word = text.substr(at, end - at);
            if (end < text.size() && text[end] == ':') {
                if (lastWasType) return compileFail(err, kDefinitionStep, sites.twoTypes, CompilerMsg::IllegalDataType);
                type = word == "val"   ? DataType::Value
                       : word == "chr" ? DataType::Chr
                       : word == "cel" ? DataType::Cell
                                       : DataType::None;
                if (type == DataType::None)
                    return compileFail(err, kDefinitionStep, sites.badType, CompilerMsg::IllegalDataType);
                if (local && type == DataType::Cell)
                    return compileFail(err, kDefinitionStep, 43, CompilerMsg::IllegalDataType);
                lastWasType = true;
                at = end + 1;
                continue;
            }
            at = end;
            if (!word.empty()) {
                if (type == DataType::None)
                    return compileFail(err, kDefinitionStep, sites.noType, CompilerMsg::IllegalDataType);
                if (!validName(word)) return compileFail(err, kDefinitionStep, 47, CompilerMsg::IllegalSymbolName);
                bool bracketed = false;
                int dimension = 1;
                if (at < text.size() && text[at] == '[') {
                    bracketed = true;
                    if (!readDimension(text, at, dimension, err)) return false;
                }
                if (!declare(word, type, bracketed, dimension, local, err)) return false;
                lastWasType = false;
            }
            if (at >= text.size()) break;
            if (text[at] == ';') {
                type = DataType::None;
            } else if (text[at] != ',') {
                return compileFail(err, kDeclarationWordStep, 5, CompilerMsg::ParameterListSyntax);
            }
            ++at;
        }
        return true;
    }

    bool declare(std::string_view name, DataType type, bool bracketed, int dimension, bool local, ErrStat& err) {
        for (const DeclaredName& d : m_out.names) {
            if (d.name == name) return compileFail(err, kDefinitionStep, 48, CompilerMsg::MultiplyDefined);
        }
        std::string code;
        if (local) {
            std::vector<int>& dims = type == DataType::Value ? m_valueDims : m_chrDims;
            dims.push_back(dimension);
            if (m_valueDims.size() + m_chrDims.size() + 2 > kMaxLocalListNumbers) {
                return compileFail(err, kDefinitionStep, 45, CompilerMsg::TooManyLocals);
            }
            code = (type == DataType::Value ? m_localValues : m_localChrs).next();
        } else {
            if (m_kinds.size() == kMaxPassedIn)
                return compileFail(err, kDefinitionStep, 27, CompilerMsg::TooManyParameters);
            if (type == DataType::Value && bracketed) {
                m_kinds.push_back('*');
                code = m_arrays.next();
            } else if (type == DataType::Value) {
                m_kinds.push_back('#');
                code = m_values.next();
            } else if (type == DataType::Chr) {
                m_kinds.push_back('$');
                code = m_strings.next();
            } else {
                m_kinds.push_back('~');
                code = m_cells.next();
            }
        }
        m_out.names.push_back({std::string(name), std::move(code)});
        return true;
    }

    Declarations& m_out;
    std::string m_kinds;
    std::vector<int> m_valueDims;
    std::vector<int> m_chrDims;
    CodeRow m_values{"#"};
    CodeRow m_arrays{"#*"};
    CodeRow m_strings{"$#"};
    CodeRow m_cells{"~#"};
    CodeRow m_localValues{"#$"};
    CodeRow m_localChrs{"$$"};
};

}  // namespace

bool isScriptNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool isScriptNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '@';
}

bool parseDeclarations(const ScriptSource& script, Declarations& out, ErrStat& err) {
    err.enter();
    out = Declarations{};
    DeclarationParser parser(out);
    if (!parser.passedIn(script.passedIn, err) || !parser.locals(script.locals, err)) return false;
    parser.finish();
    return true;
}

void replaceNames(ScriptSource& script, const Declarations& declarations, std::vector<int>& uses) {
    uses.assign(declarations.names.size(), 0);
    const std::string& body = script.body;
    std::string out;
    out.reserve(body.size() + body.size() / 4);
    std::size_t nextString = 0;
    for (std::size_t at = 0; at < body.size();) {
        if (nextString < script.strings.size() && at == script.strings[nextString].open) {
            StringSpan& s = script.strings[nextString++];
            const std::size_t length = s.close - s.open + 1;
            s.open = out.size();
            s.close = out.size() + length - 1;
            out.append(body, at, length);
            at += length;
            continue;
        }
        if (isCharacterConstant(body, at)) {
            // 'a' is a character, not the name a.
            out.append(body, at, 3);
            at += 3;
            continue;
        }
        if (!isScriptNameChar(body[at])) {
            out += body[at++];
            continue;
        }
        std::size_t end = at;
        while (end < body.size() && isScriptNameChar(body[end])) ++end;
        const std::string_view word(body.data() + at, end - at);
        const bool call = end < body.size() && body[end] == '(';
        auto it = std::find_if(declarations.names.begin(), declarations.names.end(),
                               [&](const DeclaredName& d) { return d.name == word; });
        if (!call && it != declarations.names.end()) {
            out += it->code;
            ++uses[static_cast<std::size_t>(it - declarations.names.begin())];
        } else {
            out.append(word);
        }
        at = end;
    }
    script.body = std::move(out);
}

}  // namespace qx
