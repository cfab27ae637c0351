#include "core/cell_heap.h"

#include <cstring>
#include <new>

namespace qx {
namespace {

constexpr std::size_t kAlign = alignof(double);
constexpr std::size_t kLargestPooled = 4096;

std::pmr::unsynchronized_pool_resource* ensureHeap(LevelRec& level) {
    if (!level.heap) {
        std::pmr::pool_options options;
        options.largest_required_pool_block = kLargestPooled;
        level.heap = std::make_unique<std::pmr::unsynchronized_pool_resource>(options);
    }
    return level.heap.get();
}

}  // namespace

void* heapAllocate(LevelRec& level, long count, long size, int kind, ErrStat& err) {
    err.enter();
    if (count < 1) return err.fail(kHeapAllocate, 1, 2), nullptr;
    if (size < 1) return err.fail(kHeapAllocate, 2, 2), nullptr;
    if (kind == heapkind::kRefused) return err.fail(kHeapAllocate, 5, 2), nullptr;
    const auto bytes = static_cast<std::size_t>(count) * static_cast<std::size_t>(size);
    if (static_cast<std::size_t>(count) > SIZE_MAX / static_cast<std::size_t>(size)) {
        return err.fail(kHeapAllocate, 4, 2), nullptr;
    }
    try {
        void* block = ensureHeap(level)->allocate(bytes, kAlign);
        std::memset(block, 0, bytes);
        return block;
    } catch (const std::bad_alloc&) {
        return err.fail(kHeapAllocate, 4, 2), nullptr;
    }
}

void heapFree(LevelRec& level, void* block, std::size_t bytes, int kind, ErrStat& err) {
    err.enter();
    if (block == nullptr) return;
    if (kind == heapkind::kRefused) {
        err.fail(kHeapFree, 5, 2);
        return;
    }
    if (!level.heap || bytes == 0) {
        err.fail(kHeapFree, 3, 2);
        return;
    }
    level.heap->deallocate(block, bytes, kAlign);
}

void heapDestroy(LevelRec& level) {
    level.heap.reset();
}

char* heapText(LevelRec& level, std::string_view text, ErrStat& err) {
    err.enter();
    if (text.empty()) return nullptr;
    auto* copy = static_cast<char*>(heapAllocate(level, static_cast<long>(text.size()) + 1, 1, heapkind::kText, err));
    if (err.failed()) return nullptr;
    std::memcpy(copy, text.data(), text.size());
    return copy;
}

void heapFreeText(LevelRec& level, char*& text, ErrStat& err) {
    err.enter();
    if (text == nullptr) return;
    heapFree(level, text, std::strlen(text) + 1, heapkind::kText, err);
    text = nullptr;
}

}  // namespace qx
