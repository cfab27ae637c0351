// libFuzzer target for the Script Library reader: any header or record text is either accepted with
// limits kept or refused with one of the attach messages.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "script/runtime/library_reader.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

bool attachMessage(const qx::ErrStat& err) {
    return err.is(qx::Msg::IllegalFileType) || err.is(qx::Msg::MissingBracket) ||
           err.is(qx::Msg::TooManyScriptParameters) || err.is(qx::Msg::WrongParameters);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    qx::ErrStat err;
    qx::LibraryHeader header;
    if (qx::parseLibraryHeader(text, header, err)) {
        check(header.length >= 12 && static_cast<size_t>(header.length) <= size);
        check(header.key >= 0 && header.key <= qx::kMaxLibraryKey);
        for (const auto& [key, label] : header.functionKeys) {
            check(key >= qx::kFirstFunctionKey && key <= qx::kLastFunctionKey);
            check(label.size() == qx::kFunctionKeyLabelLength);
        }
    } else {
        check(err.is(qx::Msg::IllegalFileType));
    }
    qx::RecordPrefix record;
    if (qx::parseRecordPrefix(text, record, err)) {
        check(record.name.size() <= qx::kMaxScriptName);
        check(record.kinds.size() <= static_cast<size_t>(qx::kMaxScriptParameters));
        check(record.name.empty() || (record.bodyLength() >= 2 && text[static_cast<size_t>(record.bodyStart)] == '{'));
    } else {
        check(attachMessage(err) && record.name.empty());
    }
    return 0;
}
