#include "files/workbook_file.h"

#include <algorithm>
#include <cmath>

#include "files/level_writer.h"
#include "files/origins.h"
#include "files/stored_integer.h"

namespace qx {

using namespace origins::files;
namespace {

constexpr std::size_t kMaxPasswordLength = 255;
constexpr std::size_t kMaxWorkbookDirectory = 260;

constexpr const char* kNewerVersionText =
    "You are attempting to load a worksheet that was\ncreated with a newer version of Quorix than the one\nyou are "
    "using.  This could result in a lost data.\n\nWould you like to continue?";

std::string quoted(std::string_view text) {
    return "\"" + storedText(text, StoredText::Quoted) + "\"";
}

// Level file names are stored without their directory.
std::string levelName(const LevelRec& rec) {
    return rec.defaultFileName;
}

class WorkbookReader {
  public:
    WorkbookReader(FileContext& ctx, BlockReader& reader)
        : m_ctx(ctx), m_scanner(reader), m_tokens(m_scanner), m_convert(!reader.plain()) {}

    bool run(bool& cancelled, ErrStat& err) {
        Token token;
        while (m_tokens.next(token)) {
            if (!token.recordStart || token.text.size() < 2 || token.text[0] != 'W') {
                m_tokens.skipRecord();
                continue;
            }
            FieldCursor f(std::string_view(token.text).substr(2));
            switch (token.text[1]) {
                case 'v':
                    if (!header(f, cancelled)) return true;
                    break;
                case 'z':
                    if (!levelEntry(err)) return false;
                    break;
                case 'e':
                    return levels(cancelled, err);
                default:
                    m_tokens.skipRecord();  // "Wp" is informational: the path actually opened counts
                    break;
            }
        }
        return err.fail(kWorkbookReaderOrigin, kWorkbookPointNoEnd, Msg::IllegalFileType);
    }

    std::string password;
    uint32_t flags = kDefaultProtectionFlags;
    std::vector<WorkbookLevelEntry> entries;

  private:
    // False when the user declined a newer version.
    bool header(FieldCursor& f, bool& cancelled) {
        Token list;
        if (!f.accept('{') || !m_tokens.next(list)) return true;
        if (list.recordStart) return m_tokens.giveBack(list), true;
        FieldCursor v(list.text);
        double version = 0.0;
        if (v.readNumber(version) && std::floor(version) > 3.0 &&
            m_ctx.platform.messageBox("WARNING", kNewerVersionText, BoxIcon::Exclamation, BoxButtons::YesNo) !=
                BoxAnswer::Yes) {
            cancelled = true;
            return false;
        }
        int64_t word = kDefaultProtectionFlags;
        if (v.accept(',') && v.readQuoted(password, kMaxPasswordLength) && v.accept(',') && v.readInteger(word)) {
            storeIfFits(flags, word);
        }
        return true;
    }

    bool levelEntry(ErrStat& err) {
        Token list;
        if (!m_tokens.next(list) || list.recordStart) {
            return err.fail(kWorkbookReaderOrigin, kWorkbookPointLevelName, Msg::IllegalFileType);
        }
        FieldCursor v(list.text);
        int64_t level = 0;
        WorkbookLevelEntry entry;
        if (!v.readInteger(level) || !v.accept(',') || !v.readQuoted(entry.name, kMaxPasswordLength)) {
            return err.fail(kWorkbookReaderOrigin, kWorkbookPointLevelName, Msg::IllegalFileType);
        }
        if (!m_ctx.store.worksheetLevel(static_cast<int>(std::clamp<int64_t>(level, -1, kMaxLevelCount))) ||
            static_cast<int>(entries.size()) >= m_ctx.store.highestLevel()) {
            return err.fail(kWorkbookReaderOrigin, kWorkbookPointLevelRange, Msg::IllegalFileType);
        }
        entry.level = static_cast<int>(level);
        std::string levelPassword;
        int64_t word = kDefaultProtectionFlags;
        if (v.accept(',') && v.readQuoted(levelPassword, kMaxPasswordLength) && v.accept(',') && v.readInteger(word)) {
            storeIfFits(entry.flags, word);
        }
        entries.push_back(entry);
        return true;
    }

    bool levels(bool& cancelled, ErrStat& err) {
        if ((flags & kOpenPasswordBit) && !password.empty() &&
            !m_ctx.protection.openPasswordAccepted(password, flags)) {
            cancelled = true;
            return true;
        }
        LoadTally tally;
        bool ok = true;
        for (const WorkbookLevelEntry& e : entries) {
            LevelReader reader(m_ctx, m_tokens, m_convert);
            ok = reader.read(e.level, tally, cancelled, err);
            if (!ok || cancelled) break;
        }
        finishLoad(m_ctx, tally, ok && !cancelled);
        if (!ok) err.trace(kWorkbookReaderOrigin);
        return ok;
    }

    FileContext& m_ctx;
    RecordScanner m_scanner;
    TokenSource m_tokens;
    bool m_convert;
};

}  // namespace

bool writeWorkbookFile(FileContext& ctx, const std::string& directory, BlockStream& out, int bodyKey, ErrStat& err) {
    err.enter();
    CellStore& store = ctx.store;
    if (store.workbookEmpty()) return err.fail(kWorkbookWriterOrigin, 1, Msg::CannotSaveWorksheet);
    const std::string password = quoted(ctx.protection.password());
    std::string head = "~~Wv{3.00," + password + "," + std::to_string(ctx.protection.flags(0)) + "}";
    head += "~~Wp" + quoted(directory.substr(0, kMaxWorkbookDirectory));
    for (int level = 1; level <= store.highestLevel(); ++level) {
        if (store.levelEmpty(level)) continue;
        head += "~~Wz{" + std::to_string(level) + "," + quoted(levelName(*store.levelPtr(level))) + "," + password +
                "," + std::to_string(ctx.protection.flags(level)) + "}";
    }
    head += "~~We";
    if (!out.begin(bodyKey, err) || !out.append(head, err)) return err.trace(kWorkbookWriterOrigin), false;
    for (int level = 1; level <= store.highestLevel(); ++level) {
        if (store.levelEmpty(level)) continue;
        if (!writeLevelRecords(store, ctx.formulas, level, out, err)) return err.trace(kWorkbookWriterOrigin), false;
    }
    if (!out.finish(err)) return err.trace(kWorkbookWriterOrigin), false;
    return true;
}

bool readWorkbookFile(FileContext& ctx, BlockReader& reader, bool& cancelled, ErrStat& err) {
    err.enter();
    cancelled = false;
    if (!ctx.store.workbookEmpty()) {
        return err.fail(kWorkbookReaderOrigin, kWorkbookPointNotEmpty, Msg::WorkbookNotCleared);
    }
    if (reader.firstRecord() != 'W')
        return err.fail(kWorkbookReaderOrigin, kWorkbookPointNotNative, Msg::IllegalFileType);
    WorkbookReader wb(ctx, reader);
    const bool ok = wb.run(cancelled, err);
    if (!ok || cancelled) {
        ctx.protection.reset();
        return ok;
    }
    ctx.protection.setPassword(wb.password);
    ctx.protection.setFlags(0, wb.flags);
    for (const WorkbookLevelEntry& e : wb.entries) {
        if (LevelRec* rec = ctx.store.levelPtr(e.level)) rec->defaultFileName = e.name;
        ctx.protection.setFlags(e.level, e.flags);
    }
    return true;
}

}  // namespace qx
