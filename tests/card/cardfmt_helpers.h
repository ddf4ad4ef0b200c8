#pragma once
// Helpers for the controller card format tests: cards from byte rows, reading a written
// file back, and the mirror and bit-reversal the formats apply.

#include "card/cardformats.h"
#include "testutil.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using Rows = std::vector<std::vector<std::uint8_t>>;

inline TWenBanIO MakeCard(const Rows &rows, int rowCount, int colCount, int jacquard = 0)
{
    TWenBanIO io;
    io.Card = TMultiByteArray(qsizetype(rows.size()));
    for (qsizetype r = 0; r < io.Card.size(); ++r) {
        io.Card[r] = TDynamicByteArray(qsizetype(rows[r].size()));
        std::copy(rows[r].begin(), rows[r].end(), io.Card[r].begin());
    }
    io.CardCount = std::uint16_t(rows.size());
    io.RowCount = std::uint16_t(rowCount);
    io.ColCount = std::uint16_t(colCount);
    io.JacquardCount = std::uint16_t(jacquard);
    return io;
}

inline Rows CardRows(const TWenBanIO &io)
{
    Rows out;
    for (const TDynamicByteArray &row : io.Card)
        out.emplace_back(row.begin(), row.end());
    return out;
}

// n rows of len bytes of varied values.
inline Rows PatternRows(int n, int len, int seed = 1)
{
    Rows rows(n, std::vector<std::uint8_t>(len));
    std::uint32_t s = std::uint32_t(seed) * 2654435761u;
    for (auto &row : rows)
        for (auto &b : row) {
            s = s * 1664525u + 1013904223u;
            b = std::uint8_t(s >> 24);
        }
    return rows;
}

inline std::uint8_t RevBits(std::uint8_t b)
{
    std::uint8_t r = 0;
    for (int i = 0; i < 8; ++i)
        if (b & (1 << i))
            r |= std::uint8_t(0x80 >> i);
    return r;
}

// The row with needle k of 8L needles moved to 8L - 1 - k.
inline std::vector<std::uint8_t> Mirrored(const std::vector<std::uint8_t> &row)
{
    std::vector<std::uint8_t> out(row.size());
    for (size_t i = 0; i < row.size(); ++i)
        out[row.size() - 1 - i] = RevBits(row[i]);
    return out;
}

// Reads a card file the way the card codec does: by upper-case extension, with the name.
inline bool ReadCardFile(const QString &path, TWenBanIO &io, QString *error = nullptr)
{
    io.FileName = path;
    io.Extension = QLatin1Char('.') + QFileInfo(path).suffix().toUpper();
    return ReadControllerCard(io, ReadAll(path), error);
}

inline QByteArray Zeros(int n)
{
    return QByteArray(n, '\0');
}
inline QByteArray Fill(int n, int value)
{
    return QByteArray(n, char(value));
}
inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out += char(v);
    return out;
}
