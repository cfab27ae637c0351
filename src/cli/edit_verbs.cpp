#include "cli/edit_verbs.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "cli/line_interpreter.h"
#include "cli/origins.h"

namespace qx {

using namespace origins::cli;

namespace {

// Pairs of a column and "a" or "d", one to three of them.
bool readSortKeys(const std::vector<std::string_view>& w, std::vector<RowSortKey>& keys) {
    if (w.empty() || w.size() % 2 != 0 || w.size() / 2 > sortrows::kMaxKeys) return false;
    for (std::size_t i = 0; i < w.size(); i += 2) {
        RowSortKey key;
        if (!wholeNumber(w[i], key.column) || (w[i + 1] != "a" && w[i + 1] != "d")) return false;
        key.ascending = w[i + 1] == "a";
        keys.push_back(key);
    }
    return true;
}

// Takes the leading options off `args`; false for an unknown one.
bool readFindOptions(std::string_view& args, FindOptions& options) {
    constexpr std::pair<std::string_view, FindCells> kinds[] = {{"-formulas", FindCells::Formulas},
                                                                {"-labels", FindCells::Labels},
                                                                {"-vlabels", FindCells::VariableLabels},
                                                                {"-tags", FindCells::Tags}};
    while (!args.empty() && args.front() == '-') {
        const std::size_t end = std::min(args.find(' '), args.size());
        const std::string_view word = args.substr(0, end);
        args.remove_prefix(std::min(end + 1, args.size()));
        if (word == "-up") {
            options.up = true;
        } else if (word == "-nocase") {
            options.ignoreCase = true;
        } else {
            const auto* kind =
                std::find_if(std::begin(kinds), std::end(kinds), [&](auto& k) { return k.first == word; });
            if (kind == std::end(kinds)) return false;
            options.cells = kind->second;
        }
    }
    return true;
}

void printFound(LineInterpreter& cli, const FoundCell& hit) {
    if (hit.found) cli.printLine("[" + std::to_string(hit.row) + "," + std::to_string(hit.col) + "] " + hit.text);
}

}  // namespace

void findVerb(LineInterpreter& cli, std::string_view args) {
    FindOptions options;
    ErrStat err;
    if (!readFindOptions(args, options) || args.empty()) {
        err.fail(kOriginFindVerb, 1, Msg::IllegalParameter);
        return cli.reportProblem(err);
    }
    printFound(cli, cli.session().find(options, args));
}

void findNextVerb(LineInterpreter& cli, std::string_view) {
    printFound(cli, cli.session().findNext());
}

void replaceVerb(LineInterpreter& cli, std::string_view args) {
    ErrStat err;
    const std::size_t tab = args.find('\t');
    if (tab == std::string_view::npos) {
        err.fail(kOriginReplaceVerb, 1, Msg::IllegalParameter);
        return cli.reportProblem(err);
    }
    cli.session().replaceFound(args.substr(0, tab), args.substr(tab + 1), err);
    if (err.failed()) cli.printFailure(err);
}

void arrSizeVerb(LineInterpreter& cli, std::string_view args) {
    const std::vector<std::string_view> w = argumentWords(args);
    int n = 0;
    ErrStat err;
    if (w.empty() || w.size() > 2 || !wholeNumber(w[0], n) || (w.size() == 2 && w[1] != "warn")) {
        err.fail(kOriginArrSizeVerb, 1, Msg::IllegalParameter);
        return cli.reportProblem(err);
    }
    if (!cli.session().arraySize(n, w.size() == 2, err) && err.failed()) cli.printFailure(err);
}

void arrSetVerb(LineInterpreter& cli, std::string_view args) {
    std::vector<double> values;
    ErrStat err;
    for (std::string_view word : argumentWords(args)) {
        double v = 0.0;
        const auto r = std::from_chars(word.data(), word.data() + word.size(), v);
        if (r.ec != std::errc() || r.ptr != word.data() + word.size()) {
            err.fail(kOriginArrSetVerb, 1, Msg::IllegalParameter);
            return cli.reportProblem(err);
        }
        values.push_back(v);
    }
    if (!cli.session().arraySet(values, err) && err.failed()) cli.printFailure(err);
}

void sortRowsVerb(LineInterpreter& cli, std::string_view args) {
    std::vector<RowSortKey> keys;
    ErrStat err;
    if (!readSortKeys(argumentWords(args), keys)) {
        err.fail(kOriginSortRowsVerb, 1, Msg::IllegalParameter);
        return cli.reportProblem(err);
    }
    cli.session().sortRows(keys, err);
}

}  // namespace qx
