#pragma once
// BuildCardData: card computation, a pattern document (意匠) into its card (纹板).
// Card computation: turns a pattern document into the card, one row of needle bits for
// every pick the loom weaves. Each weft row makes one card per weft entry with a shuttle
// number in that row (entry 0 first). A card row has Ceil(RowCount x ColCount / 8) bytes;
// needle position p is bit 7 - p mod 8 of byte p div 8, a set bit raising the needle.
//
// On a card: the jacquard needles of the driven run (the last run in needle order) follow
// the pattern, each design column driving WarpRepeat adjacent needles and the design
// repeating across the run, through the colour weaves; heald-rod, selvedge and
// heald-frame needles follow the entry's technical weaves; shuttle and weft-density
// needles take the masks of the pick and weft-density tables; stop-motion needles rise
// where the stop-motion value is 0; waste-selvedge needles weave plain; lacing holes are
// always raised.

#include "card/cardprogress.h"
#include "card/needletables.h"
#include "card/samplecard.h"
#include "core/settings/uikeys.h"

#include <QString>
#include <QStringList>

// Scan start corners: where the first card's row and the first design column are taken.
enum TScanStart { ScanBottomLeft = 0, ScanBottomRight = 1, ScanTopLeft = 2, ScanTopRight = 3 };

// The most cards a card holds: counts are 16-bit in the card files.
constexpr int MaxCardRows = 65535;

// Messages of the card computation.
namespace CardBuildMsg {
inline constexpr TUiMessageKey BadSampleCard = UiKey::String::CardBuildBadSampleCard;
inline constexpr TUiMessageKey ErrorCaption = UiKey::String::CardBuildErrorCaption;
inline constexpr TUiMessageKey WeaveMissing = UiKey::String::CardBuildWeaveMissing;
inline constexpr TUiMessageKey OutputCaption = UiKey::String::CardBuildOutputCaption;
} // namespace CardBuildMsg

struct TCardBuildResult {
    QString Error; // why the card was not built; empty on success or cancel
    QString Caption; // caption of the box that shows Error
    bool Information = false; // Error is shown with the information icon, else as an error
    QStringList Warnings; // shown with caption "输出纹板"; the build went on after them
    int DivisionCount = 0; // distinct letters of the sample card's division rule
    bool Cancelled = false;
};

// Makes a document record ready for a card: size from the picture, row tables rebuilt
// only when missing or no longer matching the pattern (what the designer entered is
// kept), at least 3 x WeftRepeat technical weaves, and the colour weaves reset to their
// defaults (|Colors| x WarpRepeat x WeftRepeat slots). Returns false with a message,
// changing nothing, when the record's repeat counts ask for more than a document holds.
bool PrepareCardDocument(TMesh &mesh, QString *error = nullptr);

// The number of cards: non-zero shuttle numbers over the first WeftRepeat entries and
// the pattern's rows.
qint64 CountCardRows(const TMesh &mesh);

// Builds the card. True when the card was built and `card` holds it; false when a check
// failed, a fault occurred or the computation was cancelled: `card` is then unchanged and
// `result` says why. Refused with a message: a sample card with fewer needles than the
// pattern has columns, no jacquard needle, more than 65,536 needles, more than 65,535
// cards, a shuttle number or weft-density step above 16, row tables that do not cover the
// pattern, a division rule the card cannot use, a colour missing from Colors, and an
// empty or missing weave that a card needs.
bool BuildCardData(const TMesh &mesh, const TYangkaImage &sampleCard, int scanStart, TMultiByteArray &card,
    TCardBuildResult &result, const TCardProgress &progress = {});
// The same with explicit pick and weft-density tables (the shared ones above).
bool BuildCardData(const TMesh &mesh, const TYangkaImage &sampleCard, int scanStart, TMultiByteArray &card,
    TCardBuildResult &result, const TCardProgress &progress, const TNeedleMaskTable &pickTable,
    const TNeedleMaskTable &weftDensTable);
