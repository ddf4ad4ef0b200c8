#pragma once
// TMesh: the document record of one document window, and the array types every subsystem
// shares.

#include "core/base/dynarray.h"
#include "core/base/geometry.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

// A colour value: red in the low byte, then green and blue. A value whose high byte is
// 0x80 names a system colour by the index in its low byte (such values are negative);
// 0x02 in the high byte marks a palette-relative colour.
using TColor = std::int32_t;

using TColorArray = TDynArray<TColor>;
using TIntegerArray = TDynArray<std::int32_t>;
using TDynamicWordArray = TDynArray<std::uint16_t>;
using TBoolArray = TDynArray<bool>;
using TPosArray = TDynArray<TPoint>;
using TDynamicByteArray = TDynArray<std::uint8_t>;
// A matrix of bytes, first index outer: a weave [warp][weft] (1 = weave point, 0 = empty),
// or a row table [entry][row].
using TWeaveArray = TDynArray<TDynamicByteArray>;
// Card data (one byte row per card) and sample-card maps.
using TMultiByteArray = TDynArray<TDynamicByteArray>;
// Needle positions grouped by needle kind.
using TMultiWordArray = TDynArray<TDynamicWordArray>;
// The document's lists of technical and colour weaves.
using TWeaveList = TDynArray<TWeaveArray>;

// A matrix of the given size, every cell value-initialised.
TWeaveArray MakeWeaveArray(int outer, int inner, std::uint8_t value = 0);

// The document record of one document window. Copying the record copies the scalar
// fields and shares the arrays, lists and the picture reference.
struct TMesh {
    std::int32_t Warps = 0; // pattern width in cells
    std::int32_t Wefts = 0; // pattern height in cells
    std::int32_t Reserved3 = 0; // kept only for the project file's block of fields 1..10
    std::int32_t Reserved4 = 0;
    std::int32_t WeftRepeat = 1; // weft entries per weft row
    std::int32_t WarpRepeat = 1; // adjacent jacquard needles per design column
    std::int32_t Reserved7 = 0;
    std::int32_t Reserved8 = 0;
    double WarpDensity = 0;
    double WeftDensity = 0;
    QString SampleCardFile;
    QImage *Picture = nullptr; // the grid's picture; never owned by the record
    TColorArray Colors; // colours used in the picture, most frequent first
    TWeaveArray PickRows; // [entry][row] shuttle number, 0 = no pick
    TWeaveArray RegulatorRows; // [entry][row] stop-motion value
    TWeaveList TechWeaves; // entry * 3 + kind: 0 heald-rod, 1 selvedge, 2 heald-frame
    TWeaveList ColorWeaves; // |Colors| x WarpRepeat x WeftRepeat slots
    TWeaveArray WeftDensRows; // [entry][row] weft-density step
    // The two name lists are owned by the record and created on first use; copies share them.
    std::shared_ptr<QStringList> TechWeaveNames;
    std::shared_ptr<QStringList> ColorWeaveNames;
    std::int32_t LayerCount = 1;
};

// Technical needle kinds, the index within an entry's three technical weaves.
enum TTechKind { TechHealdRod = 0, TechSelvedge = 1, TechHealdFrame = 2 };

// Builds the three row tables for the record's WeftRepeat and Wefts: PickRows and
// WeftDensRows hold entry mod 16 + 1 in every row (the tables they choose from have 16
// entries), RegulatorRows 1 for entry 0 and 0 otherwise. The same as InitPickRowTables
// followed by InitLayerRowTable.
void InitRowTables(TMesh &mesh);
// PickRows and RegulatorRows alone, as InitRowTables builds them.
void InitPickRowTables(TMesh &mesh);
// WeftDensRows alone, as InitRowTables builds it.
void InitLayerRowTable(TMesh &mesh);

// Makes TechWeaves hold WeftRepeat x 3 slots: existing weaves and names are kept and new
// slots get a 2 x 2 weave of zeros with an empty name. Never fewer than 3 x WeftRepeat.
void InitTechWeaveSlots(TMesh &mesh);
// InitTechWeaveSlots, after creating both name lists when they are missing; ColorWeaves
// is not touched.
void InitWeaveSlots(TMesh &mesh);

// The default colour weave of a colour: a 2 x 2 weave of ones when its red, green or blue
// is at least 30, of zeros for a darker colour.
TWeaveArray DefaultColorWeave(TColor colour);

// Sizes ColorWeaves to |Colors| x WarpRepeat x WeftRepeat slots (with one empty name
// each) and gives every slot its default: a 2 x 2 weave of ones for a colour whose red,
// green or blue is at least 30, of zeros for a darker one. Returns false, changing
// nothing, when the record's repeat counts fail CheckMeshRepeats.
bool SetDefaultColourWeaves(TMesh &mesh);

// Limits on what a record's repeat counts may ask for, so that a damaged file or a wrong
// number never makes the weave slots or row tables exhaust memory or overflow.
constexpr int MaxMeshRepeat = 65535; // WarpRepeat and WeftRepeat, as 16-bit files hold them
constexpr qint64 MaxColourWeaveSlots = 1 << 20; // |Colors| x WarpRepeat x WeftRepeat
constexpr qint64 MaxRowTableCells = qint64(1) << 28; // WeftRepeat x Wefts, per row table
// True when WarpRepeat and WeftRepeat are 1..MaxMeshRepeat and the slots and row tables
// they ask for stay within the limits above; otherwise false with a message.
bool CheckMeshRepeats(const TMesh &mesh, QString *error = nullptr);

// Index of the colour weave for a colour, a warp repeat and a weft entry.
int ColorWeaveSlot(const TMesh &mesh, int colour, int warpRepeat, int entry);

// The state of a document created with File > New on a picture: fields 1, 2, 9, 10, 12,
// 13 (the colour list, most frequent first, built by the caller from the grid's palette
// and picture), the row tables, the technical slots and the colour-weave slots.
void InitNewDocument(TMesh &mesh, QImage *picture, double warpDensity, double weftDensity, int layerCount,
    const TColorArray &colors);
