#include "core/zeroed_slots.h"

#include <cstdlib>
#include <new>

#if defined(__unix__)
#include <sys/mman.h>
#endif

namespace qx::detail {

// malloc would hand back recycled memory that calloc has to clear; an anonymous mapping is zero until
// written, page by page.
void* zeroedPages(std::size_t bytes) {
    if (bytes == 0) return nullptr;
#if defined(__unix__)
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) throw std::bad_alloc();
#else
    void* p = std::calloc(bytes, 1);
    if (p == nullptr) throw std::bad_alloc();
#endif
    return p;
}

void releasePages(void* p, std::size_t bytes) {
    if (p == nullptr) return;
#if defined(__unix__)
    munmap(p, bytes);
#else
    (void)bytes;
    std::free(p);
#endif
}

}  // namespace qx::detail
