#include "script/runtime/script_libraries.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <new>

#include "core/header_key.h"
#include "core/paths.h"
#include "core/scope_exit.h"
#include "script/runtime/library_origins.h"
#include "script/runtime/library_reader.h"

namespace qx {

using namespace origins::script_library;
namespace {

// One file reached by two spellings of its path is still one library.
std::string canonicalOf(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
    return ec ? path : resolved.string();
}

std::string multiplyDefinedText(std::string_view name) {
    return "WARNING!  Script '" + std::string(name) + "' is multiply defined!";
}

}  // namespace

std::string withLibraryExtension(std::string_view file) {
    const std::size_t slash = file.find_last_of("/\\");
    const std::size_t dot = file.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
    return std::string(hasExtension ? file.substr(0, dot) : file) + std::string(kLibraryExtension);
}

ScriptLibraries::ScriptLibraries(Platform& platform, ScratchRecord& scratch)
    : m_platform(platform), m_scratch(scratch), m_swap(scratch.swapAreaSize) {
    m_keyOwner.fill(-1);
    m_scratch.swapAreaSize = m_swap.size();
}

std::string ScriptLibraries::pathOf(const LibraryTableEntry& lib) const {
    return joinPath(lib.directory, lib.file);
}

int ScriptLibraries::attach(std::string_view fileArg, std::string_view directory, ErrStat& err) {
    err.enter();
    try {
        const std::string file = withLibraryExtension(fileArg);
        const std::string path = joinPath(directory, file);
        if (path.size() > kMaxLibraryPath || !checkPathText(path, err)) {
            return err.fail(kAttachOrigin, 1, Msg::CannotLoadLibrary), kAttachFailed;
        }
        const std::string canonical = canonicalOf(path);
        int index = -1;
        for (int i = kMaxLibraries - 1; i >= 0; --i) {
            const LibraryTableEntry& lib = m_libraries[static_cast<std::size_t>(i)];
            if (lib.inUse && lib.canonical == canonical)
                return err.fail(kAttachOrigin, 2, Msg::CannotLoadLibrary), kAttachFailed;
            if (!lib.inUse) index = i;
        }
        if (index < 0) return err.fail(kAttachOrigin, 3, Msg::CannotLoadLibrary), kAttachFailed;
        if (m_index.size() == kScriptIndexSize)
            return err.fail(kAttachOrigin, 4, Msg::ScriptIndexExhausted), kAttachFailed;

        const FileStamp stamp = fileStamp(path);
        std::FILE* f = stamp.size < 0 ? nullptr : std::fopen(path.c_str(), "rb");
        if (f == nullptr) return err.fail(kAttachOrigin, 5, Msg::CannotLoadLibrary), kAttachFailed;
        const ScopeExit closeFile([f] { std::fclose(f); });

        LibraryTableEntry& lib = m_libraries[static_cast<std::size_t>(index)];
        lib = LibraryTableEntry{true, std::string(directory), file, canonical, stamp};
        std::string text;
        LibraryHeader header;
        bool ok = readUnscrambled(f, 0, kLibraryReadBlock, kHeaderKey, text) && parseLibraryHeader(text, header, err);
        if (ok) {
            lib.formatVersion = header.formatVersion;
            lib.compilerVersion = header.compilerVersion;
            lib.libraryVersion = header.libraryVersion;
            for (const auto& [key, label] : header.functionKeys) {
                m_scratch.functionKeyLabels[static_cast<std::size_t>(key)] = label;
                m_keyOwner[static_cast<std::size_t>(key)] = index;
            }
            ok = readRecords(f, index, header.length, header.key, err);
        } else if (!err.failed()) {
            err.fail(kAttachOrigin, 6, Msg::CannotLoadLibrary);
        }
        if (!ok) {
            removeScripts(index);
            releaseFunctionKeys(index);
            lib = LibraryTableEntry{};
            err.trace(kAttachOrigin);
            return kAttachFailed;
        }
        return index;
    } catch (const std::bad_alloc&) {
        err.fail(kAttachOrigin, 7, Msg::OutOfMemory);
        return kAttachFailed;
    }
}

bool ScriptLibraries::readRecords(std::FILE* file, int library, int32_t from, int key, ErrStat& err) {
    int64_t offset = from;
    std::string text;
    while (m_index.size() < kScriptIndexSize && offset <= std::numeric_limits<int32_t>::max()) {
        if (!readUnscrambled(file, offset, kLibraryReadBlock, static_cast<uint8_t>(key), text)) {
            return err.fail(kAttachRecord, 30, Msg::CannotLoadLibrary);
        }
        RecordPrefix record;
        if (!parseRecordPrefix(text, record, err)) return false;
        if (record.name.empty()) break;
        const bool known = std::any_of(m_index.begin(), m_index.end(),
                                       [&](const ScriptIndexEntry& s) { return s.name == record.name; });
        if (known) {
            // The first definition stays; the user learns why the second is not called.
            m_platform.messageBox(std::string(kMultiplyDefinedCaption), multiplyDefinedText(record.name),
                                  BoxIcon::Exclamation, BoxButtons::Ok);
        } else {
            ScriptIndexEntry s;
            s.library = static_cast<int16_t>(library);
            s.name = std::move(record.name);
            s.valueLocals = std::move(record.valueLocals);
            s.stringLocals = std::move(record.stringLocals);
            s.kinds = std::move(record.kinds);
            s.key = static_cast<int16_t>(key);
            s.bodyLength = record.bodyLength();
            s.recordOffset = static_cast<int32_t>(offset);
            m_maxBodyLength = std::max(m_maxBodyLength, s.bodyLength);
            m_index.push_back(std::move(s));
        }
        offset += record.length;
    }
    return true;
}

bool ScriptLibraries::detach(int library, ErrStat& err) {
    err.enter();
    if (library < 0 || library >= kMaxLibraries || !m_libraries[static_cast<std::size_t>(library)].inUse) {
        return err.fail(kDetachOrigin, 1, Msg::IllegalParameter);
    }
    if (anyRunning()) return err.fail(kDetachRunning, 1, WMsg::CannotComplete);
    removeScripts(library);
    releaseFunctionKeys(library);
    m_libraries[static_cast<std::size_t>(library)] = LibraryTableEntry{};
    return true;
}

void ScriptLibraries::removeScripts(int library) {
    for (std::size_t i = 0; i < m_index.size(); ++i) {
        if (m_index[i].library == library) m_swap.takeOut(m_index, i);
    }
    std::erase_if(m_index, [library](const ScriptIndexEntry& s) { return s.library == library; });
}

void ScriptLibraries::releaseFunctionKeys(int library) {
    for (std::size_t key = 0; key < m_keyOwner.size(); ++key) {
        if (m_keyOwner[key] != library) continue;
        m_keyOwner[key] = -1;
        m_scratch.functionKeyLabels[key] = std::string(kBlankFunctionKeyLabel);
    }
}

int ScriptLibraries::find(std::string_view name, ErrStat& err) {
    err.enter();
    for (std::size_t i = 0; i < m_index.size(); ++i) {
        if (m_index[i].name != name) continue;
        const int entry = static_cast<int>(i);
        if (m_index[i].unloaded && !load(entry, err)) {
            if (err.failed()) {
                err.trace(kFindOrigin);
            } else {
                err.fail(kFindOrigin, 1, Msg::SwapAreaExhausted);
            }
            return -1;
        }
        return entry;
    }
    return -1;
}

bool ScriptLibraries::load(int entry, ErrStat& err) {
    ScriptIndexEntry& s = script(entry);
    const int32_t needed = s.footprint();
    std::optional<int32_t> place = m_swap.findPlace(m_index, needed);
    if (!place) {
        m_swap.evict(m_index, needed);
        place = m_swap.findPlace(m_index, needed);
    }
    if (!place) return err.fail(kLoadBodyOrigin, 20, Msg::SwapAreaExhausted);
    const LibraryTableEntry& lib = library(s.library);
    if (!loadBody(pathOf(lib), lib.stamp, s, m_swap.at(*place), err)) {
        std::fill_n(m_swap.at(*place), needed, '\0');
        return false;
    }
    s.unloaded = false;
    s.offset = *place;
    return true;
}

bool ScriptLibraries::resizeSwapArea(int64_t bytes, ErrStat& err) {
    err.enter();
    if (anyRunning()) return err.fail(kResizeSwapOrigin, 1, WMsg::CannotComplete);
    try {
        m_swap.reset(bytes);
    } catch (const std::bad_alloc&) {
        return err.fail(kResizeSwapOrigin, 2, WMsg::AllocationError);
    }
    for (ScriptIndexEntry& s : m_index) {
        s.unloaded = true;
        s.offset = 0;
        s.runCount = 0;
    }
    m_scratch.swapAreaSize = m_swap.size();
    return true;
}

void ScriptLibraries::clearRunCounts() {
    for (ScriptIndexEntry& s : m_index) s.runCount = 0;
}

bool ScriptLibraries::anyRunning() const {
    return std::any_of(m_index.begin(), m_index.end(), [](const ScriptIndexEntry& s) { return s.runCount > 0; });
}

int ScriptLibraries::libraryNamed(std::string_view file) const {
    const bool isPath = file.find_first_of("/\\") != std::string_view::npos;
    const std::string wanted = isPath ? canonicalOf(withLibraryExtension(file)) : withLibraryExtension(file);
    for (int i = 0; i < kMaxLibraries; ++i) {
        const LibraryTableEntry& lib = library(i);
        if (lib.inUse && (isPath ? lib.canonical : lib.file) == wanted) return i;
    }
    return -1;
}

std::vector<int> ScriptLibraries::attached() const {
    std::vector<int> out;
    for (int i = 0; i < kMaxLibraries; ++i) {
        if (library(i).inUse) out.push_back(i);
    }
    return out;
}

}  // namespace qx
