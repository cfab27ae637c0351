#include "cli/attribute_verb.h"

#include <charconv>
#include <optional>
#include <string>

#include "cli/address_argument.h"
#include "cli/line_interpreter.h"
#include "cli/origins.h"
#include "core/area_ranges.h"
#include "core/property_access.h"

namespace qx {

using namespace origins::cli;
namespace {

// Reads one whole number after blanks; false when none stands there.
bool readInteger(std::string_view text, std::size_t& pos, int64_t& out) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    const char* first = text.data() + pos;
    const char* last = text.data() + text.size();
    auto [end, ec] = std::from_chars(first, last, out);
    if (ec != std::errc() || end == first) return false;
    pos = static_cast<std::size_t>(end - text.data());
    return true;
}

bool onlyBlanksFrom(std::string_view text, std::size_t pos) {
    return text.find_first_not_of(' ', pos) == std::string_view::npos;
}

// A colour word as typed: decimal, or 0x and hexadecimal digits; none when it is no colour.
std::optional<uint32_t> readColourWord(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    uint64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size() || value > kColourWordMask) return std::nullopt;
    return static_cast<uint32_t>(value);
}

}  // namespace

void bkColorVerb(LineInterpreter& cli, std::string_view args) {
    const std::optional<uint32_t> colour = readColourWord(args);
    if (!colour) {
        ErrStat err;
        err.fail(kOriginBkColorVerb, 1, Msg::IllegalParameter);
        return cli.reportProblem(err);
    }
    cli.session().changeAttributes(AttributeChange::AddBackground, *colour);
}

void attrVerb(LineInterpreter& cli, std::string_view args) {
    Session& session = cli.session();
    ErrStat err;
    AddressArgument at;
    std::size_t pos = 0;
    if (!parseAddressArgument(args, pos, session.highestLevel(), at, err)) return cli.reportProblem(err);
    int64_t code = 0;
    int64_t value = kPropertyRead;
    const bool codeRead = readInteger(args, pos, code);
    const bool valueRead = codeRead && !onlyBlanksFrom(args, pos) && readInteger(args, pos, value);
    const bool valueOk = valueRead || onlyBlanksFrom(args, pos);
    // Values are 32-bit words; anything wider cannot be a property value.
    if (!codeRead || !valueOk || !onlyBlanksFrom(args, pos) || value < INT32_MIN || value > UINT32_MAX) {
        err.fail(kOriginAttrVerb, 1, Msg::IllegalParameter);
        return cli.reportProblem(err);
    }
    const int property = code < 0 || code >= kPropertyCount ? -1 : static_cast<int>(code);
    const auto word = static_cast<int32_t>(static_cast<uint32_t>(value));
    const std::optional<int64_t> result = session.cellProperty(at.level, at.row, at.col, property, word, err);
    if (err.failed()) return cli.reportProblem(err);
    if (result) cli.printLine(std::to_string(*result));
}

}  // namespace qx
