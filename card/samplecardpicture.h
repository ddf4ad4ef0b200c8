#pragma once
// DrawSampleCard: the picture of a sample card (样卡).
// The picture of a sample card as the editor and the card viewer show it: every cell drawn
// by its needle code, one circle per positioning hole, and a column ruler in the top
// margin. Cells lie where TYangkaImage::CellRect puts them, so the picture is mirrored by
// StartFlag exactly as the hit tests are. The colours are the nearest entries of the
// built-in default palette, so the card looks the same as it does in 8-bit pictures.
//
// Everything here is arithmetic on the model plus a QPainter over a 32-bit image: no
// widget, so it runs headless.

#include "card/samplecard.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

#include <vector>

// The colours of the picture.
struct TSampleCardColors {
    QColor Back; // background and cell outline; jacquard code 2
    QColor Needle; // white cells
    QColor Hole; // lacing and positioning holes, red marks
    QColor Green; // weft-density needles, waste selvedge, stop-motion cross
    QColor LightGreen; // code 10
    QColor BrightGreen; // code 11's outline
    QColor PaleGreen; // code 13
    QColor PaleBlue; // code 14
    QColor Dot; // the dot of a lowered needle in the card viewer
};

// The card's colours, each replaced by the nearest colour of the default palette (the
// colours as given when the palette cannot be read).
TSampleCardColors SampleCardColors(const TYangkaImage &card);

// One tick of the column ruler: the pixel column of its centre and its number.
struct TRulerTick {
    int X = 0;
    int Column = 0; // 0-based column the tick marks
    QString Label; // the column's number counted from 1
};

// The ruler's ticks: one every 10 columns (every 5 when MinRad is 6 or more), labelled
// 1, step, 2 x step, ... and placed over the column they number, so they follow the
// column direction of StartFlag.
std::vector<TRulerTick> SampleCardRuler(const TYangkaImage &card);

// The pixel rectangle (exclusive right and bottom) of the positioning hole whose top-left
// cell is (col, row), in either direction of StartFlag; empty when the block does not lie
// wholly on the card.
QRect PositionHoleRect(const TYangkaImage &card, int col, int row);

// The range of cells whose rectangles meet a pixel area; false when there is none.
bool CellsInArea(const TYangkaImage &card, const QRect &area, int &col0, int &col1, int &row0, int &row1);

// The picture's whole size (the control size of the card: Width x Height after Resize).
QSize SampleCardPictureSize(const TYangkaImage &card);

// Draws the part area of the card's picture into a 32-bit image of area's size (the whole
// picture for area = QRect(QPoint(), SampleCardPictureSize(card))). Only the cells in area
// are visited, so a small part of a huge card is cheap. An empty or oversized area
// (more than MaxSampleCardPixels) gives a null image.
constexpr qint64 MaxSampleCardPixels = qint64(1) << 25;
QImage DrawSampleCard(const TYangkaImage &card, const QRect &area);

// The cell under a pixel, clamped to the grid: a point beyond an edge gives the cell at
// that edge (a drag released outside the card ends on its border cell).
void ClampedCellAtPixel(const TYangkaImage &card, int x, int y, int &col, int &row);

// The pixel rectangle covering the cells between two corner cells (in any order).
QRect CellSpanRect(const TYangkaImage &card, int col0, int row0, int col1, int row1);
