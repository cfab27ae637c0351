#include "core/paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/messages.h"
#include "core/origins.h"

namespace qx {

using namespace origins::core;
namespace {

bool holdsControlByte(std::string_view path) {
    return std::any_of(path.begin(), path.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 32 || byte == 127;
    });
}

}  // namespace

bool checkPathText(std::string_view path, ErrStat& err) {
    err.enter();
    if (holdsControlByte(path)) return err.fail(kPathCheckOrigin, 1, Msg::IllegalString);
    return true;
}

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
    return !path.empty() && !holdsControlByte(path) && std::filesystem::exists(path, ec);
}

bool isRegularFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && !holdsControlByte(path) && std::filesystem::is_regular_file(path, ec);
}

}  // namespace qx
