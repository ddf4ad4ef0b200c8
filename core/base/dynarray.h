#pragma once
// TDynArray: the growable array of the document record.
// A growable zero-based array with the sharing rules of the document record's arrays:
// copying an array (or a record holding arrays) makes both holders see the same elements;
// writing an element through one holder is seen through the other; resizing detaches the
// resized holder onto storage of its own, so the other keeps the old length and elements.
// Nested arrays (a TDynArray of TDynArray) follow the same rule at each level.

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <type_traits>

template <class T>
class TDynArray {
public:
    TDynArray() = default;
    explicit TDynArray(std::size_t n) { setLength(n); }
    TDynArray(std::initializer_list<T> items)
    {
        setLength(items.size());
        std::copy(items.begin(), items.end(), m_data.get());
    }

    std::size_t size() const { return m_size; }
    int length() const { return static_cast<int>(m_size); }
    bool isEmpty() const { return m_size == 0; }

    T &operator[](std::size_t i) const { return m_data[i]; }
    T *data() const { return m_data.get(); }
    T *begin() const { return m_data.get(); }
    T *end() const { return m_data.get() + m_size; }

    // New storage of length n: the first min(old, n) elements are copied, the rest are
    // value-initialised. Other holders keep the storage they had.
    void setLength(std::size_t n)
    {
        if (n == 0) {
            m_data.reset();
            m_size = 0;
            return;
        }
        std::shared_ptr<T[]> fresh(new T[n]());
        std::copy(m_data.get(), m_data.get() + std::min(n, m_size), fresh.get());
        m_data = std::move(fresh);
        m_size = n;
    }

    // A copy of the elements on storage of its own (one level deep).
    TDynArray copy() const
    {
        TDynArray out(m_size);
        std::copy(begin(), end(), out.begin());
        return out;
    }

    // True when both holders use the same storage.
    bool sharesWith(const TDynArray &other) const { return m_data == other.m_data && m_size == other.m_size; }

    void fill(const T &value) const { std::fill(begin(), end(), value); }

    bool operator==(const TDynArray &other) const
    {
        return m_size == other.m_size && std::equal(begin(), end(), other.begin());
    }

private:
    std::shared_ptr<T[]> m_data;
    std::size_t m_size = 0;
};
