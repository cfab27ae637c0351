#include "script/runtime/library_reader.h"

#include <sys/stat.h>

#include <charconv>

#include "core/scope_exit.h"
#include "script/runtime/library_origins.h"

namespace qx {

using namespace origins::script_library;
namespace {

// A fixed-width field of decimal digits, as the header and record frames store their numbers.
bool digitField(std::string_view text, std::size_t at, std::size_t width, int32_t& out) {
    if (text.size() < at + width) return false;
    int32_t value = 0;
    for (std::size_t i = at; i < at + width; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    out = value;
    return true;
}

// The number at the start of `text`, 0 when there is none.
float leadingNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return static_cast<float>(value);
}

// "~F<n>"<label>"": the key number and the label; false leaves the entry unread.
bool readFunctionKey(std::string_view entry, LibraryHeader& out) {
    int key = 0;
    const auto [end, ec] = std::from_chars(entry.data(), entry.data() + entry.size(), key);
    if (ec != std::errc() || key < kFirstFunctionKey || key > kLastFunctionKey) return false;
    std::string_view rest = entry.substr(static_cast<std::size_t>(end - entry.data()));
    if (rest.empty() || rest.front() != '"') return false;
    rest.remove_prefix(1);
    const std::size_t close = rest.find('"');
    if (close == std::string_view::npos || close == 0) return false;
    std::string label(rest.substr(0, std::min(close, kFunctionKeyLabelLength)));
    label.resize(kFunctionKeyLabelLength, ' ');
    out.functionKeys.emplace_back(key, std::move(label));
    return true;
}

void readHeaderEntries(std::string_view entries, LibraryHeader& out) {
    std::size_t at = entries.find('~');
    while (at != std::string_view::npos) {
        const std::size_t next = entries.find('~', at + 1);
        const std::string_view entry = entries.substr(at + 1, next == std::string_view::npos ? next : next - at - 1);
        if (entry.starts_with("F")) {
            readFunctionKey(entry.substr(1), out);
        } else if (entry.starts_with("Va")) {
            out.compilerVersion = leadingNumber(entry.substr(2));
        } else if (entry.starts_with("Vl")) {
            out.libraryVersion = leadingNumber(entry.substr(2));
        }
        at = next;
    }
}

bool kindOf(char c, ParamKind& kind) {
    switch (c) {
        case '#':
            kind = ParamKind::Value;
            return true;
        case '*':
            kind = ParamKind::ValueArray;
            return true;
        case '$':
            kind = ParamKind::String;
            return true;
        case '~':
            kind = ParamKind::Cell;
            return true;
        default:
            return false;
    }
}

// "(k,k,...)" from the '(' at `pos`; leaves `pos` after the ')'.
bool readSignature(std::string_view text, std::size_t& pos, std::vector<ParamKind>& kinds, ErrStat& err) {
    ++pos;
    if (pos < text.size() && text[pos] == ')') return ++pos, true;
    for (;;) {
        if (pos >= text.size()) return err.fail(kAttachRecord, 10, Msg::MissingBracket);
        ParamKind kind{};
        if (!kindOf(text[pos], kind)) return err.fail(kAttachRecord, 11, Msg::WrongParameters);
        if (kinds.size() == kMaxScriptParameters) return err.fail(kAttachRecord, 12, Msg::TooManyScriptParameters);
        kinds.push_back(kind);
        if (++pos >= text.size()) return err.fail(kAttachRecord, 13, Msg::MissingBracket);
        if (text[pos] == ')') return ++pos, true;
        if (text[pos] != ',') return err.fail(kAttachRecord, 14, Msg::WrongParameters);
        ++pos;
    }
}

// The local list "nv,d...,ns,d..." up to the body's '{'; leaves `pos` on the '{'.
bool readLocals(std::string_view text, std::size_t& pos, RecordPrefix& out, ErrStat& err) {
    std::vector<int32_t> numbers;
    for (;;) {
        int32_t value = 0;
        const char* from = text.data() + pos;
        const auto [end, ec] = std::from_chars(from, text.data() + text.size(), value);
        if (ec != std::errc() || value < 0) {
            if (end == text.data() + text.size()) return err.fail(kAttachRecord, 20, Msg::MissingBracket);
            return err.fail(kAttachRecord, 21, Msg::IllegalFileType);
        }
        if (numbers.size() == kMaxLocalNumbers) return err.fail(kAttachRecord, 22, Msg::TooManyScriptParameters);
        numbers.push_back(value);
        pos = static_cast<std::size_t>(end - text.data());
        if (pos >= text.size()) return err.fail(kAttachRecord, 23, Msg::MissingBracket);
        if (text[pos] == '{') break;
        if (text[pos] != ',') return err.fail(kAttachRecord, 24, Msg::IllegalFileType);
        ++pos;
    }
    // The counts must describe the dimensions that follow them, each 1..255 as declarations allow.
    std::size_t at = 0;
    for (std::vector<int16_t>* dims : {&out.valueLocals, &out.stringLocals}) {
        if (at >= numbers.size()) return err.fail(kAttachRecord, 25, Msg::IllegalFileType);
        const auto count = static_cast<std::size_t>(numbers[at++]);
        if (count > numbers.size() - at) return err.fail(kAttachRecord, 26, Msg::IllegalFileType);
        for (std::size_t i = 0; i < count; ++i, ++at) {
            if (numbers[at] < 1 || numbers[at] > 255) return err.fail(kAttachRecord, 27, Msg::IllegalFileType);
            dims->push_back(static_cast<int16_t>(numbers[at]));
        }
    }
    if (at != numbers.size()) return err.fail(kAttachRecord, 28, Msg::IllegalFileType);
    return true;
}

}  // namespace

bool parseLibraryHeader(std::string_view text, LibraryHeader& out, ErrStat& err) {
    err.enter();
    out = LibraryHeader{};
    if (text.size() < 18 || text.front() != '~') return err.fail(kAttachHeader, 1, Msg::IllegalFileType);
    int32_t key = 0;
    if (!digitField(text, 1, 5, out.length) || out.length < 12) return err.fail(kAttachHeader, 2, Msg::IllegalFileType);
    if (!digitField(text, 7, 5, key) || key > kMaxLibraryKey) return err.fail(kAttachHeader, 3, Msg::IllegalFileType);
    if (text.size() < static_cast<std::size_t>(out.length)) return err.fail(kAttachHeader, 4, Msg::IllegalFileType);
    out.key = key;
    out.formatVersion = leadingNumber(text.substr(13, 5));
    readHeaderEntries(text.substr(12, static_cast<std::size_t>(out.length) - 12), out);
    return true;
}

bool parseRecordPrefix(std::string_view text, RecordPrefix& out, ErrStat& err) {
    err.enter();
    out = RecordPrefix{};
    if (text.empty()) return true;
    if (text.size() < 8 || text.front() != '~') return err.fail(kAttachRecord, 1, Msg::IllegalFileType);
    if (!digitField(text, 1, 5, out.length) || out.length < 12) return err.fail(kAttachRecord, 2, Msg::IllegalFileType);
    if (text[6] != '~') return err.fail(kAttachRecord, 3, Msg::IllegalFileType);
    const std::size_t open = text.substr(7, kMaxScriptName + 2).find('(');
    if (open == std::string_view::npos) return err.fail(kAttachRecord, 4, Msg::MissingBracket);
    // The name field holds 31 characters; a longer name would be cut and could call the wrong script.
    if (open > kMaxScriptName) return err.fail(kAttachRecord, 5, Msg::IllegalFileType);
    if (open == 0) return true;
    out.name = std::string(text.substr(7, open));
    std::size_t pos = 7 + open;
    if (!readSignature(text, pos, out.kinds, err) || !readLocals(text, pos, out, err)) {
        out.name.clear();
        return false;
    }
    out.bodyStart = static_cast<int32_t>(pos);
    // "{}" is the shortest body; a length that ends before it describes no body at all.
    if (out.bodyLength() < 2) {
        out.name.clear();
        return err.fail(kAttachRecord, 6, Msg::IllegalFileType);
    }
    return true;
}

FileStamp fileStamp(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return FileStamp{};
    return FileStamp{static_cast<int64_t>(st.st_size),
                     static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

bool readUnscrambled(std::FILE* file, int64_t offset, std::size_t count, uint8_t key, std::string& out) {
    out.clear();
    if (std::fseek(file, static_cast<long>(offset), SEEK_SET) != 0) return false;
    out.resize(count);
    const std::size_t n = std::fread(out.data(), 1, count, file);
    if (n < count && std::ferror(file)) return false;
    out.resize(n);
    for (char& c : out) c = static_cast<char>(static_cast<uint8_t>(c) ^ key);
    return true;
}

bool loadBody(const std::string& path, const FileStamp& attached, const ScriptIndexEntry& script, char* target,
              ErrStat& err) {
    err.enter();
    if (fileStamp(path) != attached) return err.fail(kLoadBodyOrigin, 19, Msg::CannotLoadLibrary);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return err.fail(kLoadBodyOrigin, 18, Msg::CannotLoadLibrary);
    const ScopeExit closeFile([file] { std::fclose(file); });
    const auto key = static_cast<uint8_t>(script.key);
    std::string block;
    if (!readUnscrambled(file, script.recordOffset, kLibraryReadBlock, key, block)) {
        return err.fail(kLoadBodyOrigin, 12, Msg::CannotLoadLibrary);
    }
    if (block.empty() || block.front() != '~') return err.fail(kLoadBodyOrigin, 13, Msg::IllegalFileType);
    const std::size_t open = block.find('{');
    if (open == std::string::npos) return err.fail(kLoadBodyOrigin, 14, Msg::IllegalFileType);
    const auto length = static_cast<std::size_t>(script.bodyLength);
    if (block.size() < open + length) {
        std::string more;
        const int64_t from = script.recordOffset + static_cast<int64_t>(block.size());
        if (!readUnscrambled(file, from, open + length - block.size(), key, more)) {
            return err.fail(kLoadBodyOrigin, 16, Msg::CannotLoadLibrary);
        }
        block += more;
    }
    if (block.size() < open + length) return err.fail(kLoadBodyOrigin, 17, Msg::CannotLoadLibrary);
    for (std::size_t i = open; i < open + length; ++i) {
        const auto c = static_cast<uint8_t>(block[i]);
        if (c < 32 || c >= 127) return err.fail(kLoadBodyOrigin, 15, Msg::IllegalFileType);
    }
    block.copy(target, length, open);
    target[length] = '\0';
    return true;
}

}  // namespace qx
