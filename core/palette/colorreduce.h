#pragma once
// Colour reduction: the used colours of a picture are grouped around a number of group
// heads, and every cell is remapped to its group. Group g belongs to head g, the pair at
// position g of the sorted pair list. A reduced picture's palette holds the heads at
// entries 0 .. Count - 1, black elsewhere, and always black at 254 and white at 255.

#include "core/base/gridrecords.h"
#include "core/palette/palette.h"

#include <QImage>

// --- Group lists (grow or shrink one element at a time and keep their order) ----------
// Appends Item and returns its index.
int AddColorEntry(TOnePaletteArray &list, const TPaletteItem &item);
void AddColorEntries(TOnePaletteArray &list, const TOnePaletteArray &other);
// Removes item I; nothing for I outside the list.
void DeleteColorEntry(TOnePaletteArray &list, int i);
// Whether an item with that colour index exists; with Delete the first one is removed.
bool FindColorEntry(TOnePaletteArray &list, int index, bool del);
// FindColorEntry with Delete over the groups in order until one finds the index.
bool FindColorInGroups(TTwoPaletteArray &groups, int index);
void AddColorGroup(TTwoPaletteArray &groups);
// Removes group I; later groups move down. Nothing for I outside the list.
void DeleteColorGroup(TTwoPaletteArray &groups, int i);
// The length of the longest group (0 without groups).
void MaxGroupLength(const TTwoPaletteArray &groups, int &maxLen);

// --- Reduction ------------------------------------------------------------------------
// Pairs holds the colours in frequency order, the N used ones first. Chooses at most
// Count heads: the first colour, then every colour (in order) farther than Difference
// from the most recently chosen head. Every used colour joins the group of its nearest
// head (lowest head among equals). Pairs is rewritten with the heads first, then the other
// pairs in their previous order; Count becomes the number of heads; MaxLen the longest
// group. Count 0 (or no used colour) leaves no groups.
void BuildColorGroups(
    TPalettePairs &pairs, int &count, int n, TTwoPaletteArray &groups, int &maxLen, int difference);
// Every colour of List joins the group of the nearest of the first Count pairs; List is
// emptied. Groups is extended to Count groups when it has fewer.
void RemapToPaletteCount(
    const TPalettePairs &pairs, int count, TTwoPaletteArray &groups, TOnePaletteArray &list);
// Makes colour Index a new head: true when the colour of entry Index is not among the
// colours of the first Count pairs and a pair with that index lies at positions
// Count - 1 .. N - 1; that pair then moves to position Count. The caller raises its head
// count by one.
bool ReduceColorGroups(TPalettePairs &pairs, const TPalette256 &palette, int index, int count, int n);
// For each group g in order: Map[Heads[g].Index] := g and Map[c.Index] := g for every
// member c. Other map items keep their value (callers start from the identity).
void BuildColorMapFromGroups(TPalettePairs &map, const TTwoPaletteArray &groups, const TPalettePairs &heads);
// Remaps the cells through Map and gives the picture the reduced palette: entries
// 0 .. Count - 1 from the first Count pairs, the rest black, then 254 black and 255 white.
// Palette receives that palette and Pairs its pair list.
void ApplyColorReduction(
    QImage &bmp, const TPalettePairs &map, TPalette256 &palette, int count, TPalettePairs &pairs);

// The palette layout of reduced and joined pictures: the first Count colours of Pairs,
// black in the remaining entries, black at 254 and white at 255.
void BuildReducedPalette(const TPalettePairs &pairs, int count, TPalette256 &palette);
