#pragma once
// Lexical elements of the formula language, shared by the compiler, the evaluator and the text expander.
#include <cstdint>

namespace qx {

// The largest value a formula may hold; "#INF" reads back as this, and anything at or beyond it overflows.
constexpr double kFormulaInfinity = 1.7e308;

enum class NumberScanResult : uint8_t { Ok, NotNumber };

struct NumberScan {
    NumberScanResult result = NumberScanResult::NotNumber;
    double value = 0.0;
    int end = 0;  // first character after the constant
};

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
inline bool isNameStart(char c) {
    return isLetter(c) || c == '_' || c == '@';
}
inline bool isNameChar(char c) {
    return isNameStart(c) || isDigit(c);
}
bool isRegisterChar(char c);

// Reads a numeric constant (decimal, octal or hexadecimal) starting at a digit or at '.' followed by a digit.
// A '0' directly followed by 8 or 9 is no number at all.
NumberScan scanNumber(const char* text, int pos);

// End of a decimal constant's text (digits, '.', a signed exponent, a "#INF" tail) or of a hexadecimal one;
// used where the constant is only copied.
int numberTextEnd(const char* text, int pos);

// 'c' at pos: true with the signed 8-bit code when the three characters form a character constant.
bool scanCharacter(const char* text, int pos, int& value);

// '"' at pos: the position after the closing quote, or -1 when the string is not closed.
int stringEnd(const char* text, int pos);

// '[' at pos followed by a register character and ']': the register index 0..6, else -1.
int registerAt(const char* text, int pos);

// End of the name starting at pos.
int nameEnd(const char* text, int pos);

inline int skipBlanks(const char* text, int pos) {
    while (isBlank(text[pos])) ++pos;
    return pos;
}

// True when the text at pos starts an assignment: '=' not followed by '=', or a compound assignment.
bool isAssignment(const char* text, int pos);

}  // namespace qx
