#pragma once
// Path helpers: directories and names are joined with '/', with no length limit.
#include <string>
#include <string_view>

#include "core/err_stat.h"

namespace qx {

// Call this before handing any path to the file system. It refuses a path holding a NUL or another
// control byte (below 32, or 127): the system calls would see a different, shorter name than the
// one every check before them looked at, so a save's temporary file could be the target itself.
// Code 64 "undefined or illegal string"; nothing is touched.
bool checkPathText(std::string_view path, ErrStat& err);

// "dir/name"; no separator is doubled, and an empty directory gives the name alone.
std::string joinPath(std::string_view directory, std::string_view name);

struct SplitPath {
    std::string directory;  // without the trailing separator; empty when there was none
    std::string name;
};

// Splits at the last '/' or '\\' (stored record formats use a backslash).
SplitPath splitPath(std::string_view path);

// Both are false for a path that checkPathText refuses.
bool pathExists(const std::string& path);
bool isRegularFile(const std::string& path);

}  // namespace qx
