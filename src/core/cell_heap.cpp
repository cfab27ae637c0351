#include "core/cell_heap.h"
#include "core/origins.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace qx {

using namespace origins::core;
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
    if (count < 1) return err.fail(kHeapAllocate, 1, WMsg::AllocationError), nullptr;
    if (size < 1) return err.fail(kHeapAllocate, 2, WMsg::AllocationError), nullptr;
    if (kind == heapkind::kRefused) return err.fail(kHeapAllocate, 5, WMsg::AllocationError), nullptr;
    const auto bytes = static_cast<std::size_t>(count) * static_cast<std::size_t>(size);
    if (static_cast<std::size_t>(count) > SIZE_MAX / static_cast<std::size_t>(size)) {
        return err.fail(kHeapAllocate, 4, WMsg::AllocationError), nullptr;
    }
    try {
        void* block = ensureHeap(level)->allocate(bytes, kAlign);
        std::memset(block, 0, bytes);
        return block;
    } catch (const std::bad_alloc&) {
        return err.fail(kHeapAllocate, 4, WMsg::AllocationError), nullptr;
    }
}

void heapFree(LevelRec& level, void* block, std::size_t bytes, int kind, ErrStat& err) {
    err.enter();
    if (block == nullptr) return;
    if (kind == heapkind::kRefused) {
        err.fail(kHeapFree, 5, WMsg::AllocationError);
        return;
    }
    if (!level.heap || bytes == 0) {
        err.fail(kHeapFree, 3, WMsg::AllocationError);
        return;
    }
    level.heap->deallocate(block, bytes, kAlign);
}

void heapDestroy(LevelRec& level) {
    level.heap.reset();
}

// A text's header: one byte holding the text's bytes (NUL included) up to 255, or, for a longer text,
// a zero byte after the 32-bit length. Cell texts are short, so most pay one byte.
constexpr std::size_t kShortTextLimit = 255;
constexpr std::size_t kLongTextHeader = sizeof(uint32_t) + 1;

char* heapText(LevelRec& level, std::string_view text, ErrStat& err) {
    err.enter();
    if (text.empty()) return nullptr;
    const std::size_t bytes = text.size() + 1;
    if (bytes > UINT32_MAX) return err.fail(kHeapAllocate, 4, WMsg::AllocationError), nullptr;
    const std::size_t header = bytes <= kShortTextLimit ? 1 : kLongTextHeader;
    auto* block = static_cast<char*>(heapAllocate(level, static_cast<long>(header + bytes), 1, heapkind::kText, err));
    if (err.failed()) return nullptr;
    if (header == 1) {
        block[0] = static_cast<char>(bytes);
    } else {
        const auto length = static_cast<uint32_t>(bytes);
        std::memcpy(block, &length, sizeof length);  // the byte after it stays zero: the long form
    }
    char* copy = block + header;
    std::memcpy(copy, text.data(), text.size());
    return copy;
}

void heapFreeText(LevelRec& level, char*& text, ErrStat& err) {
    err.enter();
    if (text == nullptr) return;
    const auto mark = static_cast<unsigned char>(text[-1]);
    std::size_t header = 1;
    std::size_t bytes = mark;
    if (mark == 0) {
        uint32_t length = 0;
        std::memcpy(&length, text - kLongTextHeader, sizeof length);
        header = kLongTextHeader;
        bytes = length;
    }
    heapFree(level, text - header, header + bytes, heapkind::kText, err);
    text = nullptr;
}

// An Array Area's header: one double-sized slot holding the element count it was taken with, which keeps
// the elements aligned.
double* heapArray(LevelRec& level, int count, ErrStat& err) {
    err.enter();
    if (count < 1) return err.fail(kHeapAllocate, 1, WMsg::AllocationError), nullptr;
    auto* block =
        static_cast<double*>(heapAllocate(level, static_cast<long>(count) + 2, sizeof(double), heapkind::kText, err));
    if (err.failed()) return nullptr;
    const auto recorded = static_cast<uint64_t>(count);
    std::memcpy(block, &recorded, sizeof recorded);
    block[1] = count;
    return block + 1;
}

int heapArrayCount(const double* array) {
    uint64_t recorded = 0;
    std::memcpy(&recorded, array - 1, sizeof recorded);
    return static_cast<int>(recorded);
}

void heapFreeArray(LevelRec& level, double*& array, ErrStat& err) {
    err.enter();
    if (array == nullptr) return;
    const auto blocks = static_cast<std::size_t>(heapArrayCount(array)) + 2;
    heapFree(level, array - 1, blocks * sizeof(double), heapkind::kText, err);
    array = nullptr;
}

}  // namespace qx
