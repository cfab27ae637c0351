// libFuzzer target: any bytes go through the block reader, the record scanner and every
// field reader, as a level or settings reader would try them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/block_stream.h"
#include "files/record_scanner.h"

namespace {

void readFields(std::string_view text) {
    for (std::size_t start = 0; start < text.size(); ++start) {
        qx::FieldCursor integer(text.substr(start));
        int64_t i = 0;
        integer.readInteger(i);
        qx::FieldCursor number(text.substr(start));
        double d = 0;
        number.readNumber(d);
        qx::FieldCursor quoted(text.substr(start));
        std::string q;
        quoted.readQuoted(q, 255);
    }
}

void scanAll(qx::BlockReader& reader) {
    qx::RecordScanner scanner(reader);
    qx::Token token;
    for (int n = 0; scanner.next(token); ++n) {
        if (token.text.size() > qx::kMaxTokenLength) __builtin_trap();
        if (n % 5 == 4) scanner.skipRecord();
        readFields(token.text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    qx::ErrStat err;
    qx::MemoryBlockSource source(bytes);
    qx::MemoryBlockSink backup;
    qx::BlockReader reader;
    if (reader.open(source, &backup, err)) scanAll(reader);
    if (reader.openPlain(source, err)) scanAll(reader);
    return 0;
}
