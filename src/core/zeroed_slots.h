#pragma once
// A fixed number of slots that start zeroed, taken from the system as fresh zero pages: slots that are
// never written cost no memory and no time. A workbook has 33 levels of 65,535 row slots and most of
// them stay empty, so zeroing them all up front was most of what a new workbook cost.
#include <cstddef>
#include <type_traits>

namespace qx {

namespace detail {
void* zeroedPages(std::size_t bytes);  // throws std::bad_alloc
void releasePages(void* p, std::size_t bytes);
}  // namespace detail

template <class T>
class ZeroedSlots {
    static_assert(std::is_trivial_v<T>, "slots are zeroed, never constructed");

  public:
    explicit ZeroedSlots(std::size_t count)
        : m_data(static_cast<T*>(detail::zeroedPages(count * sizeof(T)))), m_size(count) {}
    ~ZeroedSlots() { detail::releasePages(m_data, m_size * sizeof(T)); }
    ZeroedSlots(const ZeroedSlots&) = delete;
    ZeroedSlots& operator=(const ZeroedSlots&) = delete;

    T& operator[](std::size_t i) { return m_data[i]; }
    const T& operator[](std::size_t i) const { return m_data[i]; }
    T* data() { return m_data; }
    const T* data() const { return m_data; }
    std::size_t size() const { return m_size; }
    T* begin() { return m_data; }
    T* end() { return m_data + m_size; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_size; }

  private:
    T* m_data;
    std::size_t m_size;
};

}  // namespace qx
