#pragma once
// The layout of a Script Library file, shared by the compiler that writes it and the reader that
// attaches it: a header, then one record per script, every character scrambled with a one-byte key.
//
// Header (unscrambled): "~" H(5) "~" K(5) "~" format(5) "~Va" program version(6), then "~Vl" and
// "~F" entries; H is the header's length, K the key of every record. A record is "~" L(5) "~"
// name signature locals body, L counting all of it; the next record starts L characters later.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

namespace qx {

inline constexpr std::string_view kLibraryExtension = ".slb";
// Readers fetch the file in blocks of this size and unscramble what they read.
inline constexpr std::size_t kLibraryBlockSize = 2048;

// Field offsets of the header.
inline constexpr std::size_t kHeaderLengthAt = 1;
inline constexpr std::size_t kHeaderKeyAt = 7;
inline constexpr std::size_t kFormatVersionAt = 13;
inline constexpr std::size_t kProgramVersionAt = 21;
// The shortest header a reader accepts, and the length of the fixed part the compiler writes.
inline constexpr std::size_t kHeaderMinimum = 18;
inline constexpr std::size_t kHeaderFixedLength = 27;
inline constexpr std::size_t kHeaderFieldWidth = 5;

// A record's "~%05d~" length field; the name starts right after it.
inline constexpr std::size_t kRecordLengthAt = 1;
inline constexpr std::size_t kRecordNameAt = 7;
inline constexpr int kMaxRecordLength = 99999;

// The program version the compiler writes after "~Va".
inline constexpr double kLibraryProgramVersion = 3.00;
inline constexpr double kLibraryFormatVersion = 1.00;

// Keys are below 32, so printable text stays within 32..127 and no line end ever appears.
inline constexpr uint8_t kMaxLibraryKey = 31;

// Exclusive-or with `key`, in place; applying it twice gives the text back.
void scrambleText(std::span<char> text, uint8_t key);

// "~%05d~" for a record or header length (0..99999).
std::string lengthField(int length);

// The fixed start of a header: three "~00000" fields, "~Va" and `programVersion` left-justified
// in 6 characters with 2 decimals. completeHeader fills the three fields once the entries are known.
std::string startHeader(double programVersion);
// "~Vl" and `version` right-justified in 6 characters with 2 decimals.
void addLibraryVersion(std::string& header, double version);
// "~F", the key number and the label in double quotes.
void addFunctionKey(std::string& header, int key, std::string_view label);
// Writes the header's length, the key and the format version "1.00 " into the fixed fields.
void completeHeader(std::string& header, uint8_t key);

// The whole record: length field, name, signature, local list, body.
std::string makeRecord(std::string_view name, std::string_view signature, std::string_view locals,
                       std::string_view body);

// Writes `text` scrambled with `key`; false on a write error.
bool writeScrambled(std::FILE* file, std::string_view text, uint8_t key);

// Reads up to one block at `offset` and unscrambles it with `key`; `out` gets what was read (empty at
// the end of the file or when the file cannot be positioned there).
void readBlock(std::FILE* file, long offset, uint8_t key, std::string& out);

// A five-digit field at `at`; false when the text is shorter or holds a non-digit.
bool readFiveDigits(std::string_view text, std::size_t at, int& value);

}  // namespace qx
