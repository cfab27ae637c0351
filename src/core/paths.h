#pragma once
// Path helpers: directories and names are joined with '/', with no length limit.
#include <string>
#include <string_view>

namespace qx {

// "dir/name"; no separator is doubled, and an empty directory gives the name alone.
std::string joinPath(std::string_view directory, std::string_view name);

struct SplitPath {
    std::string directory;  // without the trailing separator; empty when there was none
    std::string name;
};

// Splits at the last '/' or '\\' (stored record formats use a backslash).
SplitPath splitPath(std::string_view path);

bool pathExists(const std::string& path);
bool isRegularFile(const std::string& path);

}  // namespace qx
