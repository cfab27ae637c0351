#pragma once
// The script compiler's own message table: it lists its errors itself rather than through the
// general table. Indexes are shown in reports; never renumber an entry.
#include <cstdint>
#include <string_view>

// clang-format off
#define QX_COMPILER_MESSAGES(X) \
    X(Unlisted, 0, "unlisted error") \
    X(MissingClosingBracket, 1, "missing closing ']'") \
    X(MissingParameterList, 2, "missing parameter list") \
    X(MissingOpeningBrace, 3, "missing openning '{'") \
    X(MissingClosingBrace, 4, "missing closing '}'") \
    X(MissingOpeningParen, 5, "missing openning '('") \
    X(MissingClosingParen, 6, "missing closing ')'") \
    X(MissingSemicolon, 7, "missing semicolon") \
    X(MissingColon, 8, "missing colon") \
    X(MissingQuote, 9, "missing quote") \
    X(MissingComma, 10, "missing comma") \
    X(IllegalCharacter, 11, "illegal character") \
    X(IllegalDataType, 12, "missing or illegal data type declaration") \
    X(IllegalFunctionName, 13, "illegal function name") \
    X(IllegalSymbolName, 14, "illegal symbol name") \
    X(IllegalKeyword, 15, "illegal use of keyword") \
    X(IllegalFor, 16, "illegally formed 'for' statement") \
    X(IllegalWhile, 17, "illegally formed 'while' statement") \
    X(IllegalIfElse, 18, "illegally formed 'if-else' statement") \
    X(ElseWithoutIfOld, 19, "'else' with no 'if'") \
    X(TooManyArguments, 20, "too many arguments") \
    X(UndefinedSymbol, 21, "undefined symbol detected") \
    X(MultiplyDefined, 22, "multiply defined symbol") \
    X(IllegalDimension, 23, "illegal dimension") \
    X(FunctionTooLarge, 24, "function is too large") \
    X(ParameterListSyntax, 25, "syntax error in parameter list") \
    X(CellAddressTermination, 26, "Cell Address is improperly terminated") \
    X(MissingColumn, 27, "missing COLUMN number in Cell Address") \
    X(IllegallyTerminated, 28, "expression is illegally terminated") \
    X(TooManyPassedIn, 29, "too many passed-in parameters") \
    X(TooManyLocals, 30, "too many local parameters") \
    X(TooManyParameters, 31, "too many parameters") \
    X(MissingElementBracket, 32, "missing closing ']'") \
    X(IllegalExpression, 33, "illegal expression") \
    X(IllegalOperator, 34, "illegal operator or missing semicolon") \
    X(MissingConditional, 35, "missing '?' ':' or ';' in an arithmatic-if") \
    X(AssignmentError, 36, "assignment error") \
    X(MissingRangeBrace, 37, "missing '}' in a Range Operation") \
    X(MissingRangeCaret, 38, "missing '^' in a Range Operation") \
    X(ElseWithoutIf, 39, "'else' with no 'if'") \
    X(SecondElse, 40, "more than one 'else' with an 'if'") \
    X(MissingForSemicolon, 41, "missing semicolon in an 'if'") \
    X(PreprocessingError, 42, "preprocessing error") \
    X(DimensionTooLarge, 43, "array dimension is too large") \
    X(IllegalIncrement, 44, "illegal use of ++ or -- operator (use with passed-in or local variables)")
// clang-format on

namespace qx {

#define QX_COMPILER_ENUMERATOR(name, code, text) name = code,
enum class CompilerMsg : int32_t { QX_COMPILER_MESSAGES(QX_COMPILER_ENUMERATOR) };
#undef QX_COMPILER_ENUMERATOR

// The text for `index`; entry 0 for an index outside the table.
std::string_view compilerMessage(int32_t index);

}  // namespace qx
