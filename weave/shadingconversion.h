#pragma once
// TShadingSeries: turning a picture into a weave picture shaded from one twill (影光组织).
// Each colour of the picture is rendered by a weave whose density of points follows the
// colour's brightness: from a shading weave (a twill with one point per weft) a graded
// series is derived, from nearly all points down to one point per weft; dark colours take
// members with many points, bright ones members with few. The result is a black-and-white
// 8-bit picture of the same size.

#include "core/base/document.h"

#include <QImage>
#include <QList>
#include <QString>

#include <cstdint>
#include <map>
#include <vector>

// One colour of the picture: how many cells use its palette entry, and the colour.
struct TColorCountItem {
    std::int32_t Count = 0;
    TColor Color = 0; // red + green x 256 + blue x 65536
    bool operator==(const TColorCountItem &) const = default;
};
using TClrIndex = QList<TColorCountItem>;

// Sorts by count, largest first; among equal counts the earlier entry stays in front.
void SortColorsByCount(TClrIndex &list);
// One entry per used palette entry of an 8-bit picture (two entries of the same colour stay
// two), most frequent first; unused entries are left out.
TClrIndex CountPictureColors(const QImage &picture);

// True when every weft of the weave has exactly one cell equal to 1.
bool IsShadingWeave(const TWeaveArray &weave);

// (max(red, green, blue) + 1) / 256: 1/256 for black, 1 for white.
double ColorBrightness(TColor color);
// The member of a series of count weaves a colour takes: min(count - 1, trunc(V x 1000 /
// (1000 / count))) for its brightness V.
int ShadingMemberIndex(TColor color, int count);

// The graded series of a shading weave of W warps and H wefts: member 0 is the base
// inverted (every cell but the base's point of each weft); each further member takes one
// more point out, going through the wefts from the last to the first, at offsets +1, -1,
// +2, -2, ... from the base's point, wrapping at the weave's edge. 1 + (W - 2) x H members
// for W >= 3, else one. A member is made from the base when asked for, so the series is
// never held whole (it grows as W² x H²). Cells of the base other than 1 count as 0.
class TShadingSeries {
public:
    explicit TShadingSeries(const TWeaveArray &base);
    int Count() const { return m_count; }
    int Warps() const { return m_warps; }
    int Wefts() const { return m_wefts; }
    // Member index (0 .. Count - 1) as a weave [warp][weft].
    TWeaveArray Member(int index) const;
    // The same flattened weft by weft: [weft x Warps + warp].
    std::vector<std::uint8_t> MemberPoints(int index) const;
    // Several members flattened, in the order asked, made in one walk through the series.
    std::vector<std::vector<std::uint8_t>> MembersPoints(const std::vector<int> &indexes) const;

private:
    int m_warps = 0;
    int m_wefts = 0;
    int m_count = 0;
    std::vector<int> m_point; // the base's point in each weft
};

// The series of a shading weave; its Count is the number of members.
TShadingSeries MakeShadingSeries(const TWeaveArray &base);

// Tiles each listed colour's weave over the cells of that colour (matched by value, so a
// colour held under two entries takes the weave of the last listed entry of it), each
// weave anchored at the left column and the bottom row. Cells of no listed colour keep a
// plain weave. Result is an 8-bit picture of the same size with entry 0 white and 1 to 255
// black, a weave point giving 1. One pass over the picture; the progress gauge follows it.
void TileColorWeaves(
    const QImage &picture, const TClrIndex &colors, const QList<TWeaveArray> &weaves, QImage &result);

// The conversion: the base weave must be a shading weave of at least one warp and one weft
// ("WeaveIsInCorrect" otherwise, result unchanged); each colour of colors takes the member
// of its brightness, tiled with TileColorWeaves. Only the members the colours use are made.
// False with a message, result unchanged, when there is no memory for the result.
bool ConvertToWeave(const QImage &picture, const TClrIndex &colors, const TWeaveArray &base, QImage &result,
    QString *error = nullptr);

// One colour's slot of the shading control: its weave, the file it came from, and whether
// one was given.
struct TOneGridInfo {
    TWeaveArray Weave;
    QString FileName;
    bool Assigned = false;
};

// TSpecifyWeave: the colours of the picture with a weave slot each, the one the conversion
// dialog keeps (its strip of colour cells is never shown, so only its model is here). The
// selected colour, the most frequent, holds the shading weave.
class TSpecifyWeave {
public:
    // The colours of picture, counted anew, with empty slots.
    void ReadColors(const QImage &picture);
    // N slots (new ones empty); N = 0 also empties the colour list and selects colour 0.
    // The total is the sum of the first N counts.
    void SetColorCount(int count);
    // Reads a weave file into the selected colour's slot; false with the reader's message,
    // the slot as it was, when it cannot be read.
    bool LoadSelectedWeave(const QString &fileName, QString *error = nullptr);
    // True when the selected colour's weave has exactly one point in every weft.
    bool IsShadingWeave() const;
    // The conversion of picture with the selected colour's weave as the shading weave.
    bool ShadeColors(const QImage &picture, QImage &result, QString *error = nullptr) const;

    const TClrIndex &ColorList() const { return m_colors; }
    const QList<TOneGridInfo> &GridInfos() const { return m_infos; }
    int SelectedIndex() const { return m_selected; }
    std::int64_t TotalCount() const { return m_total; }

private:
    TClrIndex m_colors;
    QList<TOneGridInfo> m_infos;
    int m_selected = 0;
    std::int64_t m_total = 0;
};
