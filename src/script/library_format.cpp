#include "script/library_format.h"

#include <charconv>

#include "core/qx_assert.h"

namespace qx {
namespace {

// Fixed-point text with 2 decimals, padded with blanks to `width` on the left or the right; the
// number grammar of files never follows the user's locale.
std::string twoDecimals(double value, int width, bool leftJustified) {
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
    std::string text(buf, result.ec == std::errc() ? result.ptr : buf);
    const auto size = static_cast<int>(text.size());
    if (size < width) {
        std::string pad(static_cast<std::size_t>(width - size), ' ');
        text = leftJustified ? text + pad : pad + text;
    }
    return text;
}

void putFiveDigits(std::string& text, std::size_t at, int value) {
    for (std::size_t i = kHeaderFieldWidth; i-- > 0;) {
        text[at + i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
}

}  // namespace

void scrambleText(std::span<char> text, uint8_t key) {
    if (key == 0) return;
    for (char& c : text) c = static_cast<char>(static_cast<uint8_t>(c) ^ key);
}

std::string lengthField(int length) {
    QX_ASSERT(length >= 0 && length <= kMaxRecordLength);
    std::string field = "~00000~";
    putFiveDigits(field, kRecordLengthAt, length);
    return field;
}

std::string startHeader(double programVersion) {
    return "~00000~00000~00000~Va" + twoDecimals(programVersion, 6, true);
}

void addLibraryVersion(std::string& header, double version) {
    header += "~Vl" + twoDecimals(version, 6, false);
}

void addFunctionKey(std::string& header, int key, std::string_view label) {
    header += "~F" + std::to_string(key) + '"';
    header += label;
    header += '"';
}

void completeHeader(std::string& header, uint8_t key) {
    QX_ASSERT(header.size() >= kHeaderFixedLength && header.size() <= kMaxRecordLength);
    putFiveDigits(header, kHeaderLengthAt, static_cast<int>(header.size()));
    putFiveDigits(header, kHeaderKeyAt, key);
    header.replace(kFormatVersionAt, kHeaderFieldWidth, twoDecimals(kLibraryFormatVersion, 5, true));
}

std::string makeRecord(std::string_view name, std::string_view signature, std::string_view locals,
                       std::string_view body) {
    const std::size_t total = kRecordNameAt + name.size() + signature.size() + locals.size() + body.size();
    std::string record = lengthField(static_cast<int>(total));
    record.reserve(total);
    record.append(name).append(signature).append(locals).append(body);
    return record;
}

bool writeScrambled(std::FILE* file, std::string_view text, uint8_t key) {
    std::string out(text);
    scrambleText(out, key);
    return std::fwrite(out.data(), 1, out.size(), file) == out.size();
}

void readBlock(std::FILE* file, long offset, uint8_t key, std::string& out) {
    out.clear();
    if (offset < 0 || std::fseek(file, offset, SEEK_SET) != 0) return;
    out.resize(kLibraryBlockSize);
    out.resize(std::fread(out.data(), 1, out.size(), file));
    scrambleText(out, key);
}

bool readFiveDigits(std::string_view text, std::size_t at, int& value) {
    if (text.size() < at + kHeaderFieldWidth) return false;
    value = 0;
    for (std::size_t i = 0; i < kHeaderFieldWidth; ++i) {
        const char c = text[at + i];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

}  // namespace qx
