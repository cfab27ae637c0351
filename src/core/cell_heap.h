#pragma once
// Each level's private heap. Blocks are freed with the size they were taken with, so the
// pool keeps no per-block header; destroying the heap releases every block of the level.
#include <cstddef>
#include <string_view>

#include "core/cell_records.h"
#include "core/err_stat.h"

namespace qx {

namespace heapkind {
constexpr int kText = 0;  // texts and arrays
constexpr int kCell = 1;
constexpr int kFormula = 2;
constexpr int kRefused = 3;
constexpr int kListNode = 4;  // small two-pointer items
constexpr int kObject = 5;
}  // namespace heapkind

// Zero-filled count * size bytes from the level's heap, created on first use. Code 2 on failure.
void* heapAllocate(LevelRec& level, long count, long size, int kind, ErrStat& err);
// Returns a block taken with heapAllocate(level, ..) of `bytes` bytes; null is ignored.
void heapFree(LevelRec& level, void* block, std::size_t bytes, int kind, ErrStat& err);
// Releases every block of the level at once.
void heapDestroy(LevelRec& level);

// Texts and Array Areas keep the size of their block just in front of it, so freeing one never trusts
// its contents (a NUL written into a text, a changed element 0).

// A NUL-terminated copy of `text` in the level heap; null for an empty text.
char* heapText(LevelRec& level, std::string_view text, ErrStat& err);
// Frees a text taken with heapText and nulls the pointer.
void heapFreeText(LevelRec& level, char*& text, ErrStat& err);

// An Array Area of `count` (1 or more) zero elements after element 0, which holds the count.
double* heapArray(LevelRec& level, int count, ErrStat& err);
// The count an Array Area was taken with, whatever element 0 holds now.
int heapArrayCount(const double* array);
// Frees an Array Area taken with heapArray and nulls the pointer.
void heapFreeArray(LevelRec& level, double*& array, ErrStat& err);

}  // namespace qx
