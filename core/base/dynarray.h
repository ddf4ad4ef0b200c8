#pragma once
// TDynArray: the growable array of the document record.
// A growable zero-based array with the sharing rules of the document record's arrays:
// copying an array (or a record holding arrays) makes both holders see the same elements;
// writing an element through one holder is seen through the other; resizing detaches the
// resized holder onto storage of its own, so the other keeps the old length and elements.
// Nested arrays (a TDynArray of TDynArray) follow the same rule at each level.
//
// Access follows the holder's constness: a const holder (a const TDynArray &, or a const
// record holding arrays) only reads elements, at every level of nesting; writing needs a
// non-const holder. A non-const copy still shares the elements, so const keeps a routine
// from writing what it was handed, as everywhere else in C++.
//
// Indexes and lengths are qsizetype, as in Qt's own containers: signed, so loops counting
// with int compare with size() and index without casts, and wide enough for a list of every
// cell of the largest picture (65,535 x 65,535 cells, more than an int holds), which an undo
// step's changed cells or a repair's point list can be.

#include <QtGlobal>

#include <algorithm>
#include <initializer_list>
#include <memory>

template <class T> class TDynArray {
public:
    TDynArray() = default;
    explicit TDynArray(qsizetype n) { setLength(n); }
    TDynArray(std::initializer_list<T> items)
    {
        setLength(qsizetype(items.size()));
        std::copy(items.begin(), items.end(), m_data.get());
    }

    qsizetype size() const { return m_size; }
    qsizetype length() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }

    T &operator[](qsizetype i) { return m_data[i]; }
    const T &operator[](qsizetype i) const { return m_data[i]; }
    T *data() { return m_data.get(); }
    const T *data() const { return m_data.get(); }
    T *begin() { return m_data.get(); }
    const T *begin() const { return m_data.get(); }
    T *end() { return m_data.get() + m_size; }
    const T *end() const { return m_data.get() + m_size; }

    // New storage of length n (none for n <= 0): the first min(old, n) elements are copied,
    // the rest are value-initialised. Other holders keep the storage they had.
    void setLength(qsizetype n)
    {
        if (n <= 0) {
            m_data.reset();
            m_size = 0;
            return;
        }
        std::shared_ptr<T[]> fresh = std::make_shared<T[]>(std::size_t(n));
        std::copy(m_data.get(), m_data.get() + std::min(n, m_size), fresh.get());
        m_data = std::move(fresh);
        m_size = n;
    }

    // Shortens the array to its first n elements (0 <= n <= length) on the storage it has,
    // so that a buffer sized for the most elements a routine may produce costs one
    // allocation. Other holders of the storage keep their length.
    void truncate(qsizetype n)
    {
        if (n >= 0 && n < m_size)
            m_size = n;
        if (m_size == 0)
            m_data.reset();
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

    // Every element := value (seen by every holder sharing the storage).
    void fill(const T &value) { std::fill(begin(), end(), value); }

    bool operator==(const TDynArray &other) const
    {
        return m_size == other.m_size && std::equal(begin(), end(), other.begin());
    }

private:
    std::shared_ptr<T[]> m_data;
    qsizetype m_size = 0;
};
