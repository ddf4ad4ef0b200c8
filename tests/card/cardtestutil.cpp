#include "cardtestutil.h"

#include "card/needletables.h"

TMesh CardDoc(QImage &pic, int weftRepeat, int warpRepeat)
{
    std::vector<TColor> colours;
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) {
            const QRgb c = pic.color(pic.pixelIndex(x, y));
            const TColor t = qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16);
            if (std::find(colours.begin(), colours.end(), t) == colours.end())
                colours.push_back(t);
        }
    TColorArray list(qsizetype(colours.size()));
    std::copy(colours.begin(), colours.end(), list.begin());
    TMesh mesh;
    InitNewDocument(mesh, &pic, 0, 0, 1, list);
    mesh.WeftRepeat = weftRepeat;
    mesh.WarpRepeat = warpRepeat;
    PrepareCardDocument(mesh);
    return mesh;
}

TYangkaImage ColumnCard(const std::vector<int> &codes)
{
    TMultiByteArray cells(1);
    cells[0].setLength(qsizetype(codes.size()));
    for (qsizetype i = 0; i < cells[0].size(); ++i)
        cells[0][i] = std::uint8_t(codes[i]);
    TYangkaImage y;
    y.SetCells(cells);
    return y;
}

std::vector<std::vector<int>> CardBytes(const TMultiByteArray &card)
{
    std::vector<std::vector<int>> out;
    for (const auto &row : card)
        out.emplace_back(row.begin(), row.end());
    return out;
}

TNeedleMaskTable Diagonal()
{
    TNeedleMaskTable t;
    ResetNeedleTable(t, 16);
    return t;
}

TPalette256 PaletteOf(std::initializer_list<QRgb> colours)
{
    TPalette256 p {};
    int i = 0;
    for (QRgb c : colours)
        p[i++] = { std::uint8_t(qRed(c)), std::uint8_t(qGreen(c)), std::uint8_t(qBlue(c)), 0 };
    return p;
}
