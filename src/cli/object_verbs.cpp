#include "cli/object_verbs.h"

#include <charconv>
#include <string>
#include <vector>

#include "app/object_commands.h"
#include "cli/line_interpreter.h"
#include "cli/origins.h"

namespace qx {

using namespace origins::cli;

namespace {

std::string numberText(double v) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string joined(const std::vector<std::string>& names, std::size_t from) {
    std::string out;
    for (std::size_t i = from; i < names.size(); ++i) out += (i > from ? "|" : "") + names[i];
    return out;
}

void printBuffer(LineInterpreter& cli) {
    const CaptureBuffer& b = cli.session().capture();
    if (b.empty()) return cli.printLine("buffer: empty");
    std::string values;
    for (double v : b.array) values += (values.empty() ? "" : " ") + numberText(v);
    cli.printLine("buffer: kind " + std::to_string(static_cast<int>(*b.kind)) + ": " + values);
    if (!b.names) return;
    const CapturedNames& n = *b.names;
    cli.printLine("title: " + n.title);
    cli.printLine("corner: " + (n.rowNames.empty() ? std::string() : n.rowNames[0]));
    cli.printLine("columns: " + joined(n.columnNames, 1));
    std::string precisions;
    for (std::size_t i = 1; i < n.columnWords.size(); ++i) {
        precisions += (i > 1 ? " " : "") + std::to_string(tableword::precision(n.columnWords[i]));
    }
    cli.printLine("precisions: " + precisions);
    cli.printLine("rows: " + joined(n.rowNames, 1));
}

// "COL [asc|desc]" repeated.
bool sortKeys(const std::vector<std::string_view>& w, std::vector<SortKey>& keys) {
    for (std::size_t i = 1; i < w.size(); ++i) {
        SortKey key;
        if (!wholeNumber(w[i], key.column)) return false;
        if (i + 1 < w.size() && (w[i + 1] == "asc" || w[i + 1] == "desc")) key.descending = w[++i] == "desc";
        keys.push_back(key);
    }
    return !keys.empty();
}

bool readRequest(const std::vector<std::string_view>& w, TableRequest& request, std::vector<SortKey>& keys) {
    const std::string_view op = w[0];
    if (op == "invert") return request.action = TableAction::Invert, w.size() == 1;
    if (op == "swap") {
        request.action = TableAction::SwapColumns;
        return w.size() == 3 && wholeNumber(w[1], request.first) && wholeNumber(w[2], request.second);
    }
    if (op == "rmrow" || op == "rmcol") {
        request.action = op == "rmrow" ? TableAction::RemoveRow : TableAction::RemoveColumn;
        return w.size() == 2 && wholeNumber(w[1], request.first);
    }
    if (op == "set") {
        return w.size() == 4 &&
               readSetValue(std::string(w[1]) + ' ' + std::string(w[2]) + ' ' + std::string(w[3]), request);
    }
    if (op == "sort" && sortKeys(w, keys)) {
        request.action = TableAction::Sort;
        request.keys = keys;
        return true;
    }
    return false;
}

}  // namespace

void tableVerb(LineInterpreter& cli, std::string_view args) {
    const std::vector<std::string_view> w = argumentWords(args);
    if (w.size() == 1 && w[0] == "buffer") return printBuffer(cli);
    TableRequest request;
    std::vector<SortKey> keys;
    ErrStat err;
    if (w.empty() || !readRequest(w, request, keys)) {
        err.fail(kOriginTableVerb, 1, Msg::IllegalParameter);
        return cli.reportProblem(err);
    }
    cli.printOutcome(requestTableOperation(cli.session(), request, err), err);
}

}  // namespace qx
