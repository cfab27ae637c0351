// The verbs of quorix-cli other than menu commands.
#include <array>
#include <charconv>
#include <string>

#include "app/address_argument.h"
#include "app/attribute_verb.h"
#include "app/file_verbs.h"
#include "app/formula_verbs.h"
#include "app/function_verbs.h"
#include "app/line_interpreter.h"
#include "app/object_verbs.h"

namespace qx {
namespace {

constexpr int32_t kCodeIllegalParameter = 78;
constexpr Origin kOriginLevelVerb{kLetterA, 95, 8};
constexpr Origin kOriginAnswerVerb{kLetterA, 95, 9};

void notAvailableVerb(LineInterpreter& cli, std::string_view) {
    cli.printNotAvailable();
}

void levelVerb(LineInterpreter& cli, std::string_view args) {
    ErrStat err;
    std::string_view text = trimArgument(args);
    int level = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), level);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        err.fail(kOriginLevelVerb, 1, kCodeIllegalParameter);
    } else {
        cli.session().setActiveLevel(level, err);
    }
    if (err.failed()) cli.printFailure(err);
}

void gotoVerb(LineInterpreter& cli, std::string_view args) {
    ErrStat err;
    AddressArgument at;
    Session& session = cli.session();
    if (parseAddressOnly(args, session.highestLevel(), at, err)) session.moveTo(at.level, at.row, at.col, err);
    if (err.failed()) cli.printFailure(err);
}

void selectVerb(LineInterpreter& cli, std::string_view args) {
    ErrStat err;
    AddressArgument first;
    AddressArgument second;
    Session& session = cli.session();
    if (parseRangeOnly(args, session.highestLevel(), first, second, err)) {
        session.select(first.level, CellArea{first.row, first.col, second.row, second.col}, err);
    }
    if (err.failed()) cli.printFailure(err);
}

void answerVerb(LineInterpreter& cli, std::string_view args) {
    if (auto answer = parsePolicyAnswer(trimArgument(args))) {
        cli.platform().setPolicy(*answer);
        return;
    }
    ErrStat err;
    err.fail(kOriginAnswerVerb, 1, kCodeIllegalParameter);
    cli.printFailure(err);
}

void timeVerb(LineInterpreter& cli, std::string_view args) {
    double start = cli.platform().elapsedMs();
    cli.runLine(args);
    double ms = cli.platform().elapsedMs() - start;
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, ms, std::chars_format::fixed, 3);
    cli.printLine("time: " + std::string(buf, result.ptr) + " ms");
}

void quitVerb(LineInterpreter& cli, std::string_view) {
    cli.stop();
}

constexpr std::array kVerbs = std::to_array<Verb>({
    {"enter", enterVerb},
    {"show", showVerb},
    {"value", valueVerb},
    {"eval", evalVerb},
    {"functions", functionsVerb},
    {"attr", attrVerb},
    {"open", openVerb},
    {"save", saveVerb},
    {"rename", renameVerb},
    {"protect", protectVerb},
    {"import", notAvailableVerb},
    {"export", notAvailableVerb},
    {"level", levelVerb},
    {"goto", gotoVerb},
    {"select", selectVerb},
    {"table", tableVerb},
    {"answer", answerVerb},
    {"time", timeVerb},
    {"quit", quitVerb},
});

}  // namespace

std::span<const Verb> cliVerbs() {
    return kVerbs;
}

}  // namespace qx
