#include "core/paths.h"

#include <filesystem>
#include <system_error>

namespace qx {

std::string joinPath(std::string_view directory, std::string_view name) {
    if (directory.empty()) return std::string(name);
    std::string out(directory);
    if (out.back() != '/' && !name.empty() && name.front() != '/') out += '/';
    if (out.back() == '/' && !name.empty() && name.front() == '/') name.remove_prefix(1);
    out += name;
    return out;
}

SplitPath splitPath(std::string_view path) {
    const auto cut = path.find_last_of("/\\");
    if (cut == std::string_view::npos) return {std::string(), std::string(path)};
    if (cut == 0 && path[0] == '/') return {"/", std::string(path.substr(1))};
    return {std::string(path.substr(0, cut)), std::string(path.substr(cut + 1))};
}

bool pathExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::exists(path, ec);
}

bool isRegularFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace qx
