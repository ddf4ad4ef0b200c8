#pragma once
// Point and rectangle fields of the clipboard blocks: 32-bit little-endian integers, x before
// y and left, top, right, bottom, as the floating picture's and the floating text's blocks
// both lay them out.

#include "core/base/bytereader.h"
#include "core/base/geometry.h"

#include <QByteArray>

#include <cstdint>

inline void PutPointLE(QByteArray &out, const TPoint &p)
{
    PutU32le(out, std::uint32_t(p.X));
    PutU32le(out, std::uint32_t(p.Y));
}

inline void PutRectLE(QByteArray &out, const TRect &r)
{
    for (std::int32_t v : { r.Left, r.Top, r.Right, r.Bottom })
        PutU32le(out, std::uint32_t(v));
}

inline TPoint ReadPointLE(TByteReader &in)
{
    TPoint p;
    p.X = in.i32le();
    p.Y = in.i32le();
    return p;
}

inline TRect ReadRectLE(TByteReader &in)
{
    TRect r;
    r.Left = in.i32le();
    r.Top = in.i32le();
    r.Right = in.i32le();
    r.Bottom = in.i32le();
    return r;
}
